#include "video/dib_pixels.h"

bool DibBitCountSupported(int bitCount) {
    return bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

uint64_t DibRowStride(int width, int bitCount) {
    if (width <= 0 || !DibBitCountSupported(bitCount)) {
        return 0;
    }
    const uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount);
    return (bits + 31) / 32 * 4;
}

bool DibRowToRgb(const DibLayout& layout, const unsigned char* row, unsigned char* rgb) {
    const int width = layout.width;
    switch (layout.bitCount) {
    case 8:
        for (int x = 0; x < width; ++x) {
            const int index = row[x];
            if (index >= layout.paletteEntries || layout.palette == nullptr) {
                return false;
            }
            const unsigned char* entry = layout.palette + index * layout.paletteEntrySize;
            rgb[3 * x] = entry[2];
            rgb[3 * x + 1] = entry[1];
            rgb[3 * x + 2] = entry[0];
        }
        return true;
    case 16:
        for (int x = 0; x < width; ++x) {
            const unsigned value = row[2 * x] | row[2 * x + 1] << 8;
            // Five bits a channel, widened so that 31 becomes 255.
            const unsigned r = value >> 10 & 31;
            const unsigned g = value >> 5 & 31;
            const unsigned b = value & 31;
            rgb[3 * x] = static_cast<unsigned char>(r << 3 | r >> 2);
            rgb[3 * x + 1] = static_cast<unsigned char>(g << 3 | g >> 2);
            rgb[3 * x + 2] = static_cast<unsigned char>(b << 3 | b >> 2);
        }
        return true;
    case 24:
    case 32: {
        const int step = layout.bitCount / 8;
        for (int x = 0; x < width; ++x) {
            const unsigned char* pixel = row + x * step;
            rgb[3 * x] = pixel[2];
            rgb[3 * x + 1] = pixel[1];
            rgb[3 * x + 2] = pixel[0];
        }
        return true;
    }
    default:
        return false;
    }
}
