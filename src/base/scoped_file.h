// An open C file that closes itself: the owner of a FILE*, usable in the portable core.
#pragma once

#include <cstdio>

#include "base/scoped_handle.h"

namespace scoped_handle_traits {

struct StdioFile {
    using Handle = std::FILE*;
    static Handle None() { return nullptr; }
    static void Release(Handle file) { std::fclose(file); }
};

} // namespace scoped_handle_traits

class ScopedFile : public ScopedHandle<scoped_handle_traits::StdioFile> {
  public:
    using ScopedHandle::ScopedHandle;
    ScopedFile() = default;
    ScopedFile(const char* path, const char* mode) : ScopedHandle(std::fopen(path, mode)) {}

    // Closes the file now: false when none was open or the close failed, so that data still
    // buffered may not have reached the disk. (reset() closes it without telling.)
    bool close() {
        std::FILE* file = release();
        return file != nullptr && std::fclose(file) == 0;
    }
};
