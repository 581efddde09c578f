// Windows BMP files: the reader behind the snapshot conversion and the writer of grabbed frames.
// The reader takes a 14-byte file header and a 12-byte (OS/2 1.x), 64-byte (OS/2 2.x) or
// Windows information header (40 bytes or one of its longer versions), uncompressed pixels of 8
// bits with a colour map, 16, 24 or 32 bits, rows bottom-up (or top-down for a negative height)
// and padded to 4 bytes. Everything the headers claim is checked against the bytes present
// before any pixel is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "video/dib_pixels.h"

constexpr int kBmpLargestSide = 65500; // what a JPEG file can describe
constexpr uint64_t kBmpLargestFile = 256u << 20;

struct BmpLayout {
    DibLayout dib;       // the palette points into the file's bytes
    bool bottomUp;       // the first stored row is the bottom one
    uint64_t pixelStart; // offset of the first stored row
    uint64_t stride;     // bytes per stored row
};

// Reads the headers of the BMP file in data[0..size). 0 when they describe an image whose pixels
// lie inside the data; -1 for anything else, with a short reason in *problem when asked.
int ParseBmp(const unsigned char* data, size_t size, BmpLayout& layout,
             const char** problem = nullptr);

// Row y (0 is the top) as red, green, blue bytes, width x 3 of them. False when a colour index
// lies outside the colour map.
bool BmpRowToRgb(const BmpLayout& layout, const unsigned char* data, int y, unsigned char* rgb);

struct BmpImage {
    int width;
    int height;
    std::vector<unsigned char> rgb; // rows top to bottom, width x 3 bytes each
};

// ParseBmp and every row: 0 and the image, or -1.
int DecodeBmp(const unsigned char* data, size_t size, BmpImage& image);

// Reads a whole BMP file of at most kBmpLargestFile bytes; false when it cannot be read.
bool ReadBmpFileBytes(const char* path, std::vector<unsigned char>& bytes);

// The 54 header bytes of a 24-bit bottom-up BMP file of width x height pixels.
std::string Bmp24Headers(int width, int height);

// Writes a 24-bit BMP file: the headers, then the rows as given (bottom-up, blue-green-red,
// each padded to 4 bytes). False when the file cannot be written completely.
bool WriteBmp24File(const char* path, int width, int height, const unsigned char* rows);
