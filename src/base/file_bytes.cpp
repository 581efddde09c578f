#include "base/file_bytes.h"

#include "base/scoped_file.h"

bool ReadFileBytes(const char* path, std::string& bytes) {
    ScopedFile file(path, "rb");
    if (!file) {
        return false;
    }
    bytes.clear();
    char chunk[8192];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.append(chunk, got);
    }
    return std::ferror(file.get()) == 0;
}

bool WriteFileBytes(const char* path, const std::string& bytes) {
    ScopedFile file(path, "wb");
    if (!file) {
        return false;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return false;
    }
    return std::fflush(file.get()) == 0;
}
