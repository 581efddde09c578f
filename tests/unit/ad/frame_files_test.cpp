// Which archive entries may become frame files, and what counts as a bitmap.
#include <gtest/gtest.h>

#include <string>

#include "ad/frame_files.h"
#include "support/test_bytes.h"

namespace {

TEST(FrameFiles, OnlyExactFrameNamesAreWritten) {
    struct Case {
        const char* storedName;
        int frame; // with three frames; 0: skipped
    };
    const Case cases[] = {
        {"1.bmp", 1},
        {"3.bmp", 3},
        {"2.BMP", 2},
        {"1.Bmp", 1},
        {"4.bmp", 0},
        {"0.bmp", 0},
        {"01.bmp", 0},
        {"-1.bmp", 0},
        {"1.bmp.exe", 0},
        {"1.bm", 0},
        {"1.bmpx", 0},
        {"1bmp", 0},
        {".bmp", 0},
        {"", 0},
        {"a.bmp", 0},
        {"1 .bmp", 0},
        {"..\\x.bmp", 0},
        {"../x.bmp", 0},
        {"C:\\x.bmp", 0},
        {"\\x.bmp", 0},
        {"/1.bmp", 0},
        {"sub\\1.bmp", 0},
        {"sub/1.bmp", 0},
        {"1.bmp/", 0},
        {"C:1.bmp", 0},
        {"..\\1.bmp", 0},
        {"kto2mp3.exe", 0},
        {"Kestro.ini", 0},
        {"ad.zip", 0},
        {"1.bmp:stream", 0},
        {"99999999999.bmp", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameNumberOfEntry(c.storedName, 3), c.frame) << c.storedName;
    }
    EXPECT_EQ(FrameNumberOfEntry("32.bmp", 32), 32);
    EXPECT_EQ(FrameNumberOfEntry("10.bmp", 9), 0);
    char name[16];
    FormatFrameFileName(12, name, sizeof name);
    EXPECT_STREQ(name, "12.bmp");
}

// A bitmap file header and an info header of the given size, then zeros.
std::string BitmapHead(uint32_t infoSize, int32_t width, int32_t height, uint16_t bits) {
    std::string head = "BM" + U32(0) + U32(0) + U32(54) + U32(infoSize);
    if (infoSize == 12) {
        head += U16(static_cast<uint16_t>(width)) + U16(static_cast<uint16_t>(height)) + U16(1) +
                U16(bits);
    } else {
        head += U32(static_cast<uint32_t>(width)) + U32(static_cast<uint32_t>(height)) + U16(1) +
                U16(bits);
    }
    head.resize(kBitmapHeadBytes + 10, '\0');
    return head;
}

bool LooksLikeBitmap(const std::string& bytes) {
    return LooksLikeBitmapFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(FrameFiles, OnlyBitmapsAreFrames) {
    EXPECT_TRUE(LooksLikeBitmap(BitmapHead(40, 468, 60, 24)));
    EXPECT_TRUE(LooksLikeBitmap(BitmapHead(124, 468, -60, 32)));
    EXPECT_TRUE(LooksLikeBitmap(BitmapHead(12, 468, 60, 8)));
    EXPECT_TRUE(LooksLikeBitmap(BitmapHead(108, 4096, 1, 1)));
    EXPECT_TRUE(LooksLikeBitmap(BitmapHead(52, 1, 4096, 4)));
    EXPECT_TRUE(LooksLikeBitmap(BitmapHead(56, 468, 60, 16)));

    const std::string notBitmaps[] = {
        BitmapHead(40, 468, 60, 24).substr(0, kBitmapHeadBytes - 1),
        "MZ" + BitmapHead(40, 468, 60, 24).substr(2),
        BitmapHead(64, 468, 60, 24),
        BitmapHead(40, 0, 60, 24),
        BitmapHead(40, -468, 60, 24),
        BitmapHead(40, 4097, 60, 24),
        BitmapHead(40, 468, 0, 24),
        BitmapHead(40, 468, -4097, 24),
        BitmapHead(40, 468, 60, 7),
        std::string(64, '\0'),
        "[Settings]\r\nVERSION=20\r\nUSEMAPI=1\r\n",
    };
    for (const std::string& bytes : notBitmaps) {
        EXPECT_FALSE(LooksLikeBitmap(bytes)) << bytes;
    }
    std::string twoPlanes = BitmapHead(40, 468, 60, 24);
    twoPlanes[26] = 2;
    EXPECT_FALSE(LooksLikeBitmap(twoPlanes));
}

} // namespace
