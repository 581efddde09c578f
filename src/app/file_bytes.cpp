#include "app/file_bytes.h"

#include <cstdio>
#include <memory>

namespace {
struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;
} // namespace

bool ReadFileBytes(const char* path, std::string& bytes) {
    FilePtr file(std::fopen(path, "rb"));
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
    FilePtr file(std::fopen(path, "wb"));
    if (!file) {
        return false;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return false;
    }
    return std::fflush(file.get()) == 0;
}
