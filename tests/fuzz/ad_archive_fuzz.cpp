// A downloaded ad archive, however it is made: unpacking it writes nothing into the folder but
// the frame files "1.bmp" .. "N.bmp", none larger than a frame can be, and leaves no temporary
// file behind.
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ad/ad_archive.h"
#include "ad/frame_files.h"

namespace {

constexpr int kFrameCount = 3;

const std::string& Folder() {
    static const std::string folder = [] {
        char name[] = "/tmp/ad_archive_fuzz.XXXXXX";
        return std::string(mkdtemp(name)) + "/";
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string zip = Folder() + "ad.zip";
    if (!SaveAdArchive(zip.c_str(), reinterpret_cast<const char*>(data), size)) {
        return 0;
    }
    UnpackAdArchive(zip.c_str(), Folder().c_str(), kFrameCount);
    DIR* folder = opendir(Folder().c_str());
    for (const dirent* entry = readdir(folder); entry != nullptr; entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name == "ad.zip") {
            continue;
        }
        const std::string path = Folder() + name;
        struct stat file;
        const int frame = FrameNumberOfEntry(name.c_str(), kFrameCount);
        char expected[16];
        FormatFrameFileName(frame, expected, sizeof expected);
        if (frame == 0 || name != expected || stat(path.c_str(), &file) != 0 ||
            static_cast<uint64_t>(file.st_size) > kMaxFrameFileBytes) {
            std::abort();
        }
        unlink(path.c_str());
    }
    closedir(folder);
    return 0;
}
