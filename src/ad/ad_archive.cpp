#include "ad/ad_archive.h"

#include <minizip/unzip.h>

#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "ad/frame_files.h"
#include "base/scoped_file.h"
#include "base/scoped_handle.h"

namespace {

constexpr unsigned kBlockSize = 8192;
constexpr size_t kStoredNameSize = 256; // names of up to 255 characters
constexpr const char* kTemporaryFrameName = "adframe.tmp";

struct UnzipArchive {
    using Handle = unzFile;
    static Handle None() { return nullptr; }
    static void Release(Handle archive) { unzClose(archive); }
};
using OpenArchive = ScopedHandle<UnzipArchive>;

// Copies the open entry into `out`; false when it cannot be read, is too large or is no bitmap.
bool CopyFrameEntry(unzFile archive, FILE* out, unsigned char* block) {
    uint64_t total = 0;
    for (;;) {
        const int got = unzReadCurrentFile(archive, block, kBlockSize);
        if (got < 0) {
            std::printf("error %d with zipfile in unzReadCurrentFile\n", got);
            return false;
        }
        if (got == 0) {
            return total > 0;
        }
        if (total == 0 && !LooksLikeBitmapFile(block, static_cast<size_t>(got))) {
            return false;
        }
        total += static_cast<unsigned>(got);
        // The stored size may lie: count what really arrives.
        if (total > kMaxFrameFileBytes ||
            std::fwrite(block, 1, static_cast<size_t>(got), out) != static_cast<size_t>(got)) {
            return false;
        }
    }
}

// Writes the current entry as frame `frame` of `folder`. The frame file is replaced only by a
// complete entry whose checksum matched.
bool UnpackFrameEntry(unzFile archive, const char* folder, int frame, unsigned char* block) {
    if (int error = unzOpenCurrentFile(archive); error != UNZ_OK) {
        std::printf("error %d with zipfile in unzOpenCurrentFile\n", error);
        return false;
    }
    const std::string temporary = std::string(folder) + kTemporaryFrameName;
    bool copied = false;
    if (ScopedFile out{temporary.c_str(), "wb"}) {
        copied = CopyFrameEntry(archive, out.get(), block);
        copied = out.close() && copied;
    }
    if (int error = unzCloseCurrentFile(archive); error != UNZ_OK) {
        std::printf("error %d with zipfile in unzCloseCurrentFile\n", error);
        copied = false;
    }
    if (!copied) {
        std::remove(temporary.c_str());
        return false;
    }
    char name[16];
    FormatFrameFileName(frame, name, sizeof name);
    const std::string target = std::string(folder) + name;
    std::remove(target.c_str()); // rename does not replace a file on Windows
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

bool SaveAdArchive(const char* path, const char* bytes, size_t size) {
    ScopedFile file{path, "wb"};
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(bytes, 1, size, file.get()) == size;
    return file.close() && written;
}

bool UnpackAdArchive(const char* zipPath, const char* folder, int frameCount) {
    OpenArchive archive{unzOpen64(zipPath)};
    if (!archive) {
        return false;
    }
    unz_global_info64 global;
    if (unzGetGlobalInfo64(archive.get(), &global) != UNZ_OK) {
        return false;
    }
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[kBlockSize]);
    if (!block) {
        std::printf("Error allocating memory\n");
        return false;
    }
    int status = unzGoToFirstFile(archive.get());
    for (; status == UNZ_OK; status = unzGoToNextFile(archive.get())) {
        unz_file_info64 info;
        char storedName[kStoredNameSize] = {};
        if (int error = unzGetCurrentFileInfo64(archive.get(), &info, storedName,
                                                sizeof storedName - 1, nullptr, 0, nullptr, 0);
            error != UNZ_OK) {
            std::printf("error %d with zipfile in unzGetCurrentFileInfo\n", error);
            return false;
        }
        // A longer name is cut by the library: it is no frame name in any case.
        const int frame = info.size_filename < kStoredNameSize - 1
                              ? FrameNumberOfEntry(storedName, frameCount)
                              : 0;
        if (frame == 0) {
            continue; // not ours to write
        }
        if (info.uncompressed_size > kMaxFrameFileBytes ||
            !UnpackFrameEntry(archive.get(), folder, frame, block.get())) {
            return false;
        }
    }
    return status == UNZ_END_OF_LIST_OF_FILE;
}
