// An open C file that closes itself: the owner of a FILE*, usable in the portable core.
#pragma once

#include <cstdio>

class ScopedFile {
  public:
    ScopedFile() = default;
    explicit ScopedFile(std::FILE* file) : file_(file) {}
    ScopedFile(const char* path, const char* mode) : file_(std::fopen(path, mode)) {}
    ScopedFile(ScopedFile&& other) noexcept : file_(other.release()) {}
    ScopedFile& operator=(ScopedFile&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    ~ScopedFile() { reset(); }

    std::FILE* get() const { return file_; }
    explicit operator bool() const { return file_ != nullptr; }

    // Gives the file up without closing it.
    std::FILE* release() {
        std::FILE* file = file_;
        file_ = nullptr;
        return file;
    }
    // Closes the file held (its close result is lost) and takes `file` instead.
    void reset(std::FILE* file = nullptr) {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
        file_ = file;
    }
    // Closes the file now: false when none was open or the close failed, so that data still
    // buffered may not have reached the disk.
    bool close() {
        std::FILE* file = release();
        return file != nullptr && std::fclose(file) == 0;
    }

  private:
    std::FILE* file_ = nullptr;
};
