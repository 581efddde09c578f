// Unpacking ad.zip: only frame entries are written, each whole or not at all.
#include <gtest/gtest.h>

#include <minizip/zip.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ad/ad_archive.h"
#include "ad/frame_files.h"
#include "support/test_bytes.h"

namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string name;
    std::string bytes;
    int method; // 0 stored, Z_DEFLATED
};

std::string Archive(const std::vector<Entry>& entries) {
    const std::string path = TempPath("archive.zip");
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    EXPECT_NE(zip, nullptr);
    for (const Entry& entry : entries) {
        zip_fileinfo info{};
        EXPECT_EQ(zipOpenNewFileInZip64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                        nullptr, entry.method, Z_BEST_COMPRESSION, 1),
                  ZIP_OK);
        EXPECT_EQ(
            zipWriteInFileInZip(zip, entry.bytes.data(), static_cast<unsigned>(entry.bytes.size())),
            ZIP_OK);
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    std::string bytes = ReadBytes(path);
    std::remove(path.c_str());
    return bytes;
}

// A small but well-formed bitmap whose pixels are all `fill`.
std::string Bitmap(char fill) {
    const uint32_t pixels = 4 * 2 * 3;
    return "BM" + U32(54 + pixels) + U32(0) + U32(54) + U32(40) + U32(4) + U32(2) + U16(1) +
           U16(24) + U32(0) + U32(pixels) + U32(2835) + U32(2835) + U32(0) + U32(0) +
           std::string(pixels, fill);
}

class AdArchive : public testing::Test {
  protected:
    void SetUp() override {
        root_ = TempPath("root");
        fs::remove_all(root_);
        fs::create_directories(root_ + "/program");
        program_ = root_ + "/program/";
        WriteBytes(program_ + "Kestro.ini", "VERSION=20\r\n");
        WriteBytes(program_ + "kto2mp3.exe", "MZ program");
    }
    void TearDown() override { fs::remove_all(root_); }

    bool Unpack(const std::string& zipBytes, int frameCount) {
        WriteBytes(program_ + "ad.zip", zipBytes);
        return UnpackAdArchive((program_ + "ad.zip").c_str(), program_.c_str(), frameCount);
    }

    // Every file under the root, as paths relative to it.
    std::set<std::string> Files() const {
        std::set<std::string> files;
        for (const auto& item : fs::recursive_directory_iterator(root_)) {
            files.insert(fs::relative(item.path(), root_).generic_string());
        }
        return files;
    }

    std::set<std::string> ProgramFilesAnd(std::initializer_list<const char*> frames) const {
        std::set<std::string> files = {"program", "program/Kestro.ini", "program/kto2mp3.exe",
                                       "program/ad.zip"};
        for (const char* frame : frames) {
            files.insert(std::string("program/") + frame);
        }
        return files;
    }

    std::string root_;
    std::string program_;
};

TEST_F(AdArchive, WritesOnlyTheFramesAndSkipsEveryOtherName) {
    const std::vector<Entry> entries = {
        {"..\\x.bmp", Bitmap('x'), Z_DEFLATED},
        {"../x.bmp", Bitmap('x'), Z_DEFLATED},
        {"C:\\x.bmp", Bitmap('x'), Z_DEFLATED},
        {"\\x.bmp", Bitmap('x'), Z_DEFLATED},
        {"sub\\1.bmp", Bitmap('x'), Z_DEFLATED},
        {"sub/1.bmp", Bitmap('x'), Z_DEFLATED},
        {"kto2mp3.exe", Bitmap('x'), 0},
        {"Kestro.ini", Bitmap('x'), 0},
        {"3.bmp", Bitmap('x'), Z_DEFLATED},
        {"1.BMP", Bitmap('a'), Z_DEFLATED},
        {"2.bmp", Bitmap('b'), 0},
    };
    ASSERT_TRUE(Unpack(Archive(entries), 2));
    EXPECT_EQ(Files(), ProgramFilesAnd({"1.bmp", "2.bmp"}));
    EXPECT_EQ(ReadBytes(program_ + "1.bmp"), Bitmap('a'));
    EXPECT_EQ(ReadBytes(program_ + "2.bmp"), Bitmap('b'));
    EXPECT_EQ(ReadBytes(program_ + "Kestro.ini"), "VERSION=20\r\n");
    EXPECT_EQ(ReadBytes(program_ + "kto2mp3.exe"), "MZ program");
}

TEST_F(AdArchive, AFrameMayBeAsLargeAsTheLimitAndTheArchiveIsSavedWhole) {
    const std::string largest =
        Bitmap('m') + std::string(kMaxFrameFileBytes - Bitmap('m').size(), 'm');
    const std::string zip = Archive({{"1.bmp", largest, Z_DEFLATED}});
    ASSERT_TRUE(SaveAdArchive((program_ + "ad.zip").c_str(), zip.data(), zip.size()));
    EXPECT_EQ(ReadBytes(program_ + "ad.zip"), zip);
    ASSERT_TRUE(UnpackAdArchive((program_ + "ad.zip").c_str(), program_.c_str(), 1));
    EXPECT_EQ(ReadBytes(program_ + "1.bmp"), largest);
    EXPECT_FALSE(SaveAdArchive((root_ + "/none/ad.zip").c_str(), zip.data(), zip.size()));
}

TEST_F(AdArchive, ARefusedOrBrokenEntryStopsAndLeavesTheFrameOnDiskWhole) {
    std::string crcBroken = Archive({{"1.bmp", Bitmap('n'), 0}});
    crcBroken[crcBroken.find(std::string(24, 'n')) + 5] = 'X';
    std::string truncated = Archive({{"1.bmp", Bitmap('n'), Z_DEFLATED}});
    truncated.resize(truncated.size() - 30);
    const std::pair<const char*, std::string> cases[] = {
        {"50 MB of zeros", Archive({{"1.bmp", std::string(50 << 20, '\0'), Z_DEFLATED}})},
        {"one byte beyond the limit",
         Archive(
             {{"1.bmp", Bitmap('n') + std::string(kMaxFrameFileBytes + 1 - Bitmap('n').size(), 'n'),
               Z_DEFLATED}})},
        {"not a bitmap", Archive({{"1.bmp", "MZ\x90 an executable", Z_DEFLATED}})},
        {"empty", Archive({{"1.bmp", "", 0}})},
        {"checksum", crcBroken},
        {"truncated", truncated},
        {"no archive", "PK\x03\x04 and nothing more"},
    };
    for (const auto& c : cases) {
        WriteBytes(program_ + "1.bmp", Bitmap('o'));
        EXPECT_FALSE(Unpack(c.second, 1)) << c.first;
        EXPECT_EQ(ReadBytes(program_ + "1.bmp"), Bitmap('o')) << c.first;
        EXPECT_EQ(Files(), ProgramFilesAnd({"1.bmp"})) << c.first;
    }
    // Entries before the one that fails are kept; none after it is read.
    EXPECT_FALSE(Unpack(
        Archive({{"1.bmp", Bitmap('a'), 0}, {"2.bmp", "text", 0}, {"3.bmp", Bitmap('c'), 0}}), 3));
    EXPECT_EQ(Files(), ProgramFilesAnd({"1.bmp"}));
    EXPECT_EQ(ReadBytes(program_ + "1.bmp"), Bitmap('a'));
}

} // namespace
