// The BMP reader over every stored layout it accepts (each decoded pixel checked), and over
// damaged headers: each must give -1 without reading outside the bytes (the sanitizers watch).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_bytes.h"
#include "video/bmp_file.h"

namespace {

// A BMP file put together field by field; the defaults make a valid 24-bit file.
struct BmpParts {
    uint32_t headerSize = 40;
    int32_t width = 3;
    int32_t height = 2;
    uint16_t planes = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    std::string colourMap;
    std::string pixels; // the stored rows, padding included
    int64_t pixelStartChange = 0;

    std::string Bytes() const {
        std::string info;
        if (headerSize == 12) {
            info = U32(12) + U16(static_cast<uint16_t>(width)) +
                   U16(static_cast<uint16_t>(height)) + U16(planes) + U16(bits);
        } else {
            info = U32(headerSize) + U32(static_cast<uint32_t>(width)) +
                   U32(static_cast<uint32_t>(height)) + U16(planes) + U16(bits) + U32(compression) +
                   U32(0) + U32(0) + U32(0) + U32(coloursUsed) + U32(0);
            info.resize(headerSize, '\0');
        }
        const uint32_t start =
            static_cast<uint32_t>(14 + info.size() + colourMap.size() + pixelStartChange);
        return "BM" + U32(static_cast<uint32_t>(start + pixels.size())) + U32(0) + U32(start) +
               info + colourMap + pixels;
    }
};

const unsigned char* Data(const std::string& bytes) {
    return reinterpret_cast<const unsigned char*>(bytes.data());
}

std::string Rgb(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

// Two rows of three pixels in every layout; the picture read must always be this one.
const std::string kTopRow = Rgb({255, 0, 0, 0, 255, 0, 0, 0, 255});
const std::string kBottomRow = Rgb({10, 20, 30, 255, 255, 255, 0, 0, 0});

BmpParts Layout(const char* name) {
    BmpParts p;
    const std::string name24 = name;
    if (name24 == "24 bottom-up") {
        // Blue, green, red; rows of 9 bytes padded to 12; the bottom row first.
        p.pixels = Rgb({30, 20, 10, 255, 255, 255, 0, 0, 0, 0, 0, 0}) +
                   Rgb({0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0});
    } else if (name24 == "24 top-down") {
        p.height = -2;
        p.pixels = Rgb({0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}) +
                   Rgb({30, 20, 10, 255, 255, 255, 0, 0, 0, 0, 0, 0});
    } else if (name24 == "32") {
        p.bits = 32;
        p.pixels = Rgb({30, 20, 10, 9, 255, 255, 255, 9, 0, 0, 0, 9}) +
                   Rgb({0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9});
    } else if (name24 == "16") {
        p.bits = 16; // 5-5-5: 31 widens to 255; rows of 6 bytes padded to 8
        p.pixels = U16(1 << 10 | 2 << 5 | 3) + U16(0x7FFF) + U16(0) + U16(0) + U16(31 << 10) +
                   U16(31 << 5) + U16(31) + U16(0);
    } else {
        // 8 bits through a colour map of six entries; indexes 0..5.
        p.bits = 8;
        p.pixels = Rgb({3, 4, 5, 0}) + Rgb({0, 1, 2, 0});
        const int entries[6][3] = {{255, 0, 0},  {0, 255, 0},     {0, 0, 255},
                                   {10, 20, 30}, {255, 255, 255}, {0, 0, 0}};
        const bool os2 = name24 == "8 OS/2 1.x";
        for (const auto& e : entries) {
            p.colourMap += Rgb({e[2], e[1], e[0]}) + (os2 ? "" : std::string(1, '\0'));
        }
        if (os2) {
            p.headerSize = 12;
            p.colourMap += std::string(3 * 250, '\0'); // a 1.x map always has 256 entries
        } else {
            p.coloursUsed = 6;
            p.headerSize = name24 == "8 OS/2 2.x" ? 64 : 40;
        }
    }
    return p;
}

TEST(BmpFile, EveryAcceptedLayoutGivesTheSamePicture) {
    for (const char* name :
         {"24 bottom-up", "24 top-down", "32", "8 colour map", "8 OS/2 1.x", "8 OS/2 2.x"}) {
        const std::string file = Layout(name).Bytes();
        BmpImage image;
        ASSERT_EQ(DecodeBmp(Data(file), file.size(), image), 0) << name;
        EXPECT_EQ(image.width, 3) << name;
        EXPECT_EQ(image.height, 2) << name;
        EXPECT_EQ(std::string(image.rgb.begin(), image.rgb.end()), kTopRow + kBottomRow) << name;
    }
    const std::string file = Layout("16").Bytes();
    BmpImage image;
    ASSERT_EQ(DecodeBmp(Data(file), file.size(), image), 0);
    EXPECT_EQ(std::string(image.rgb.begin(), image.rgb.end()),
              Rgb({255, 0, 0, 0, 255, 0, 0, 0, 255, 8, 16, 24, 255, 255, 255, 0, 0, 0}));
}

TEST(BmpFile, DamagedFilesAreRefused) {
    struct Case {
        const char* what;
        BmpParts parts;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, const char* layout, auto change) {
        BmpParts parts = Layout(layout);
        change(parts);
        cases.push_back({what, parts});
    };
    add("header size 20", "24 bottom-up", [](BmpParts& p) { p.headerSize = 20; });
    add("two planes", "24 bottom-up", [](BmpParts& p) { p.planes = 2; });
    add("4 bits", "24 bottom-up", [](BmpParts& p) { p.bits = 4; });
    add("run-length coded", "8 colour map", [](BmpParts& p) { p.compression = 1; });
    add("zero width", "24 bottom-up", [](BmpParts& p) { p.width = 0; });
    add("zero height", "24 bottom-up", [](BmpParts& p) { p.height = 0; });
    add("negative width", "24 bottom-up", [](BmpParts& p) { p.width = -3; });
    add("huge width", "24 bottom-up", [](BmpParts& p) { p.width = 0x7FFFFFFF; });
    add("huge height", "24 bottom-up", [](BmpParts& p) { p.height = 70000; });
    add("most negative height", "24 bottom-up", [](BmpParts& p) { p.height = INT32_MIN; });
    add("height one row too many", "24 bottom-up", [](BmpParts& p) { p.height = 3; });
    add("width one pixel too many", "24 bottom-up", [](BmpParts& p) { p.width = 5; });
    add("pixels start one byte late", "24 bottom-up", [](BmpParts& p) { p.pixelStartChange = 1; });
    add("pixels start inside the headers", "24 bottom-up",
        [](BmpParts& p) { p.pixelStartChange = -2; });
    add("pixels start inside the colour map", "8 colour map",
        [](BmpParts& p) { p.pixelStartChange = -4; });
    add("300 colours", "8 colour map", [](BmpParts& p) { p.coloursUsed = 300; });
    add("index past the colour map", "8 colour map", [](BmpParts& p) {
        p.coloursUsed = 5;
        p.colourMap.resize(20);
    });
    add("1.x colour map cut short", "8 OS/2 1.x", [](BmpParts& p) { p.colourMap.resize(18); });
    for (const Case& c : cases) {
        const std::string file = c.parts.Bytes();
        BmpImage image;
        EXPECT_EQ(DecodeBmp(Data(file), file.size(), image), -1) << c.what;
        EXPECT_TRUE(image.rgb.empty()) << c.what;
    }
    // Every cut of a valid file, and a first byte other than 'B'.
    const std::string valid = Layout("8 colour map").Bytes();
    for (size_t length = 0; length < valid.size(); ++length) {
        BmpImage image;
        EXPECT_EQ(DecodeBmp(Data(valid), length, image), -1) << length << " bytes";
    }
    BmpImage image;
    EXPECT_EQ(DecodeBmp(Data("XM" + valid.substr(2)), valid.size(), image), -1);
}

TEST(BmpFile, WrittenFramesReadBackPixelForPixel) {
    // A 5 x 3 frame: rows of 15 bytes padded to 16, bottom-up, blue first.
    std::string rows;
    for (int stored = 0; stored < 3; ++stored) {
        for (int x = 0; x < 5; ++x) {
            rows += Rgb({x * 50, stored * 100, 7});
        }
        rows += '\0';
    }
    const std::string path = TempPath("frame.bmp");
    ASSERT_TRUE(WriteBmp24File(path.c_str(), 5, 3, Data(rows)));
    const std::string file = ReadBytes(path);
    EXPECT_EQ(file.size(), 54u + 48u);
    EXPECT_EQ(file.substr(0, 6), "BM" + U32(102));
    BmpImage image;
    ASSERT_EQ(DecodeBmp(Data(file), file.size(), image), 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const unsigned char* pixel = &image.rgb[(y * 5 + x) * 3];
            EXPECT_EQ(pixel[0], 7);
            EXPECT_EQ(pixel[1], (2 - y) * 100);
            EXPECT_EQ(pixel[2], x * 50);
        }
    }
    EXPECT_FALSE(WriteBmp24File((path + "/no/such/folder").c_str(), 5, 3, Data(rows)));
}

} // namespace
