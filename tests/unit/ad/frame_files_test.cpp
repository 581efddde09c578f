// Which archive entries may become frame files, and what counts as a bitmap.
#include <gtest/gtest.h>

#include <string>

#include "ad/frame_files.h"
#include "support/test_bytes.h"

namespace {

TEST(FrameFiles, OnlyExactFrameNamesAreWritten) {
    // With three frames; every other name is skipped (0).
    const std::pair<const char*, int> cases[] = {
        {"1.bmp", 1},        {"3.bmp", 3},
        {"2.BMP", 2},        {"1.Bmp", 1},
        {"4.bmp", 0},        {"0.bmp", 0},
        {"01.bmp", 0},       {"-1.bmp", 0},
        {"1.bmp.exe", 0},    {"1.bm", 0},
        {"1.bmpx", 0},       {"1bmp", 0},
        {".bmp", 0},         {"", 0},
        {"a.bmp", 0},        {"1 .bmp", 0},
        {"..\\x.bmp", 0},    {"../x.bmp", 0},
        {"C:\\x.bmp", 0},    {"\\x.bmp", 0},
        {"/1.bmp", 0},       {"sub\\1.bmp", 0},
        {"sub/1.bmp", 0},    {"1.bmp/", 0},
        {"C:1.bmp", 0},      {"..\\1.bmp", 0},
        {"kto2mp3.exe", 0},  {"Kestro.ini", 0},
        {"1.bmp:stream", 0}, {"99999999999.bmp", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameNumberOfEntry(c.first, 3), c.second) << c.first;
    }
    EXPECT_EQ(FrameNumberOfEntry("32.bmp", 32), 32);
    EXPECT_EQ(FrameNumberOfEntry("10.bmp", 9), 0);
    char name[16];
    FormatFrameFileName(12, name, sizeof name);
    EXPECT_STREQ(name, "12.bmp");
}

// A bitmap file header and an info header of the given size, then zeros.
std::string Head(uint32_t infoSize, int32_t width, int32_t height, uint16_t bits,
                 uint16_t planes = 1) {
    std::string head = "BM" + U32(0) + U32(0) + U32(54) + U32(infoSize);
    if (infoSize == 12) {
        head += U16(static_cast<uint16_t>(width)) + U16(static_cast<uint16_t>(height));
    } else {
        head += U32(static_cast<uint32_t>(width)) + U32(static_cast<uint32_t>(height));
    }
    head += U16(planes) + U16(bits);
    head.resize(kBitmapHeadBytes, '\0');
    return head;
}

TEST(FrameFiles, OnlyBitmapsAreFrames) {
    const std::pair<std::string, bool> cases[] = {
        {Head(40, 468, 60, 24), true},
        {Head(124, 468, -60, 32), true},
        {Head(12, 468, 60, 8), true},
        {Head(108, 4096, 1, 1), true},
        {Head(52, 1, 4096, 4), true},
        {Head(56, 468, 60, 16), true},
        {Head(40, 468, 60, 24).substr(1), false},
        {Head(64, 468, 60, 24), false},
        {Head(40, 0, 60, 24), false},
        {Head(40, 4097, 60, 24), false},
        {Head(40, 468, 0, 24), false},
        {Head(40, 468, -4097, 24), false},
        {Head(40, 468, 60, 7), false},
        {Head(40, 468, 60, 24, 2), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LooksLikeBitmapFile(reinterpret_cast<const unsigned char*>(c.first.data()),
                                      c.first.size()),
                  c.second)
            << testing::PrintToString(c.first);
    }
}

} // namespace
