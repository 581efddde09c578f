#include "base/file_copy.h"

#include "base/scoped_file.h"

bool CopyFileInBlocks(const char* source, const char* target) {
    ScopedFile in(source, "rb");
    if (!in) {
        return false;
    }
    ScopedFile out(target, "wb");
    if (!out) {
        return false;
    }
    bool ok = true;
    char block[1024];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, in.get())) > 0) {
        if (std::fwrite(block, 1, got, out.get()) != got) {
            ok = false;
            break;
        }
    }
    if (std::ferror(in.get())) {
        ok = false;
    }
    return out.close() && ok;
}
