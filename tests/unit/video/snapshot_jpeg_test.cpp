// The snapshot conversion: a 320 x 240 snapshot.bmp becomes a baseline JFIF file of the same size
// with 3 components, 2 x 2 chroma and quality-75 tables, decoding to within 30 dB PSNR of the
// BMP; every failure gives -1 and leaves no output file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_bytes.h"
#include "video/bmp_file.h"
#include "video/jpeg_encoder.h"
#include "video/jpeg_check.h"
#include "video/snapshot_jpeg.h"
#include "video/test_pictures.h"

namespace {

TEST(SnapshotJpeg, ASnapshotBecomesABaselineJfifCloseToIt) {
    const std::string directory = TempPath("");
    const std::vector<unsigned char> picture = TestPicture(320, 240, 3);
    const std::string rows = StoredRows24(picture, 320, 240);
    ASSERT_TRUE(WriteBmp24File((directory + "snapshot.bmp").c_str(), 320, 240,
                               reinterpret_cast<const unsigned char*>(rows.data())));

    ASSERT_EQ(SnapshotToJpeg(directory.c_str(), "clip.jpg"), 0);
    const std::string jpeg = ReadBytes(directory + "clip.jpg");
    const JpegMarkers markers = ReadJpegMarkers(jpeg);
    EXPECT_TRUE(markers.jfif);
    EXPECT_EQ(markers.frameMarker, 0xC0) << "baseline";
    EXPECT_EQ(markers.width, 320);
    EXPECT_EQ(markers.height, 240);
    EXPECT_EQ(markers.sampling, std::vector<int>({0x22, 0x11, 0x11}));
    EXPECT_EQ(markers.firstLuminanceQuant, 8) << "16 scaled for quality 75";
    EXPECT_FALSE(markers.restartInterval);
    DecodedJpeg decoded;
    ASSERT_TRUE(DecodeJpeg(jpeg, decoded));
    EXPECT_EQ(decoded.components, 3);
    EXPECT_GE(Psnr(decoded.rgb, picture), 30.0);
}

TEST(SnapshotJpeg, FailuresGiveMinusOneAndNoOutput) {
    const std::string directory = TempPath("");
    const std::string output = directory + "out.jpg";
    const std::string good = Bmp24Headers(4, 4) + std::string(48, '\x40');
    struct Case {
        const char* what;
        const char* bmp; // null: no snapshot.bmp at all
        std::string bytes;
        const char* name;
    };
    const Case cases[] = {
        {"no snapshot.bmp", nullptr, "", "out.jpg"},
        {"an output folder that does not exist", "", good, "missing/out.jpg"},
        {"not a BMP", "", "GIF89a" + good, "out.jpg"},
        {"pixels cut short", "", good.substr(0, good.size() - 1), "out.jpg"},
        {"an empty file", "", "", "out.jpg"},
    };
    for (const Case& c : cases) {
        std::remove((directory + "snapshot.bmp").c_str());
        std::remove(output.c_str());
        if (c.bmp != nullptr) {
            WriteBytes(directory + "snapshot.bmp", c.bytes);
        }
        EXPECT_EQ(SnapshotToJpeg(directory.c_str(), c.name), -1) << c.what;
        EXPECT_FALSE(Exists(output)) << c.what;
    }
}

// Rows of noise, which compresses badly: a 640 x 480 picture needs well over 64 KB.
struct Noise {
    int width;
    uint32_t seed;
};

bool NoiseRow(void* context, int, unsigned char* rgb) {
    Noise& noise = *static_cast<Noise*>(context);
    for (int i = 0; i < noise.width * 3; ++i) {
        noise.seed = noise.seed * 1664525u + 1013904223u;
        rgb[i] = static_cast<unsigned char>(noise.seed >> 24);
    }
    return true;
}

TEST(SnapshotJpeg, TheCompressorGrowsItsBufferAndNoticesAFullDisk) {
    Noise large = {640, 1};
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(CompressJpeg({640, 480, NoiseRow, &large}, {nullptr, &bytes}));
    ASSERT_GT(bytes.size(), 64u * 1024);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    EXPECT_EQ(bytes[bytes.size() - 2], 0xFF) << "the image ends where its bytes end";
    EXPECT_EQ(bytes[bytes.size() - 1], 0xD9);
    DecodedJpeg decoded;
    ASSERT_TRUE(DecodeJpeg(std::string(bytes.begin(), bytes.end()), decoded));
    EXPECT_EQ(decoded.width, 640);

    std::FILE* full = std::fopen("/dev/full", "wb");
    if (full == nullptr) {
        GTEST_SKIP() << "no /dev/full here";
    }
    Noise small = {16, 1}; // fits the stream's buffer until it is flushed
    EXPECT_FALSE(CompressJpeg({16, 16, NoiseRow, &small}, {full, nullptr}));
    std::fclose(full);
}

} // namespace
