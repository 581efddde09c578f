// Whether a file exists and can be opened for reading, as both programs check programs and
// codec files before they use them.
#pragma once

#include <windows.h>

#include "base/win/scoped_handles.h"

inline bool FileIsReadable(const char* path) {
    const ScopedFileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}
