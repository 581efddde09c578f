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

// A ZIP of (stored name, data) entries, deflated or stored (method 0).
std::string Zip(const std::vector<std::pair<std::string, std::string>>& entries,
                int method = Z_DEFLATED) {
    const std::string path = TempPath("made.zip");
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    for (const auto& entry : entries) {
        zip_fileinfo info{};
        zipOpenNewFileInZip64(zip, entry.first.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              method, Z_BEST_COMPRESSION, 1);
        zipWriteInFileInZip(zip, entry.second.data(), static_cast<unsigned>(entry.second.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return ReadBytes(path);
}

// A small well-formed bitmap, padded with `fill` to `size` bytes.
std::string Bitmap(char fill, size_t size = 78) {
    std::string bmp = "BM" + U32(static_cast<uint32_t>(size)) + U32(0) + U32(54) + U32(40) +
                      U32(4) + U32(2) + U16(1) + U16(24);
    bmp.resize(size, fill);
    return bmp;
}

class AdArchive : public testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    bool Unpack(const std::string& zip, int frameCount) {
        EXPECT_TRUE(SaveAdArchive((folder_ + "ad.zip").c_str(), zip.data(), zip.size()));
        EXPECT_EQ(ReadBytes(folder_ + "ad.zip"), zip);
        return UnpackAdArchive((folder_ + "ad.zip").c_str(), folder_.c_str(), frameCount);
    }

    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(folder_)) {
            names.insert(item.path().filename().string());
        }
        return names;
    }

    const std::string folder_ = TempPath("program/");
};

TEST_F(AdArchive, WritesTheFramesUnderTheirOwnNamesAndSkipsEveryOtherEntry) {
    // The frame-name table holds the hostile names; one stands for them here.
    const std::string largest = Bitmap('b', kMaxFrameFileBytes);
    ASSERT_TRUE(Unpack(Zip({{"..\\1.bmp", Bitmap('x')},
                            {"3.bmp", Bitmap('x')},
                            {"1.BMP", Bitmap('a')},
                            {"2.bmp", largest}}),
                       2));
    EXPECT_EQ(Files(), (std::set<std::string>{"ad.zip", "1.bmp", "2.bmp"}));
    EXPECT_EQ(ReadBytes(folder_ + "1.bmp"), Bitmap('a'));
    EXPECT_EQ(ReadBytes(folder_ + "2.bmp"), largest);
    EXPECT_FALSE(SaveAdArchive((folder_ + "none/ad.zip").c_str(), "PK", 2));
}

TEST_F(AdArchive, ARefusedOrBrokenEntryStopsAndLeavesTheFrameOnDiskWhole) {
    std::string crcBroken = Zip({{"1.bmp", Bitmap('n', 200)}}, 0);
    crcBroken[crcBroken.find(std::string(100, 'n'))] = 'X';
    const std::pair<const char*, std::string> cases[] = {
        {"a byte beyond the limit", Zip({{"1.bmp", Bitmap('n', kMaxFrameFileBytes + 1)}})},
        {"not a bitmap", Zip({{"1.bmp", "MZ\x90 an executable"}})},
        {"empty", Zip({{"1.bmp", ""}}, 0)},
        {"checksum", crcBroken},
        {"the second of three", Zip({{"2.bmp", "text"}, {"3.bmp", Bitmap('c')}})},
    };
    for (const auto& c : cases) {
        WriteBytes(folder_ + "1.bmp", Bitmap('o'));
        EXPECT_FALSE(Unpack(c.second, 3)) << c.first;
        EXPECT_EQ(ReadBytes(folder_ + "1.bmp"), Bitmap('o')) << c.first;
        EXPECT_EQ(Files(), (std::set<std::string>{"ad.zip", "1.bmp"})) << c.first;
    }
}

} // namespace
