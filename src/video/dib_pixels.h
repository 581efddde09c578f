// Rows of a device-independent bitmap (the pixel layout of BMP files and of raw AVI frames)
// turned into RGB: 8 bits per pixel through a colour map, 16 (5-5-5), 24 and 32 bits per pixel,
// uncompressed. Rows are padded to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

struct DibLayout {
    int width;
    int height;
    int bitCount;                 // 8, 16, 24 or 32
    const unsigned char* palette; // 8 bits per pixel: the colour map, blue, green, red(, pad)
    int paletteEntries;           // entries in the colour map
    int paletteEntrySize;         // 4 (Windows headers) or 3 (OS/2 1.x headers)
};

// True for the bit counts DibRowToRgb converts.
bool DibBitCountSupported(int bitCount);

// Bytes of one stored row, padded to 4 bytes; 0 when the width or bit count is out of range.
uint64_t DibRowStride(int width, int bitCount);

// Converts one stored row (DibRowStride bytes) into width x 3 bytes of red, green, blue. False
// when a colour index lies outside the colour map.
bool DibRowToRgb(const DibLayout& layout, const unsigned char* row, unsigned char* rgb);
