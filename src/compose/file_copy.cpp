#include "compose/file_copy.h"

#include <cstdio>

bool CopyFileInBlocks(const char* source, const char* target) {
    FILE* in = std::fopen(source, "rb");
    if (!in) {
        return false;
    }
    FILE* out = std::fopen(target, "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    bool ok = true;
    char block[1024];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, in)) > 0) {
        if (std::fwrite(block, 1, got, out) != got) {
            ok = false;
            break;
        }
    }
    if (std::ferror(in)) {
        ok = false;
    }
    std::fclose(in);
    if (std::fclose(out) != 0) {
        ok = false;
    }
    return ok;
}
