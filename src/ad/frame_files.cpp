#include "ad/frame_files.h"

#include <cstdio>

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

uint32_t Read32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t Read16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

constexpr int kMaxBitmapSide = 4096;

bool IsUsualBitDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

int FrameNumberOfEntry(const char* storedName, int frameCount) {
    const char* p = storedName;
    if (*p < '1' || *p > '9') {
        return 0;
    }
    int number = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        number = number * 10 + (*p - '0');
        if (number > frameCount) {
            return 0;
        }
    }
    const char* extension = ".bmp";
    for (; *extension; ++p, ++extension) {
        if (Lower(*p) != *extension) {
            return 0;
        }
    }
    return *p == '\0' ? number : 0;
}

void FormatFrameFileName(int frame, char* name, size_t size) {
    std::snprintf(name, size, "%d.bmp", frame);
}

bool LooksLikeBitmapFile(const unsigned char* head, size_t length) {
    if (length < kBitmapHeadBytes || head[0] != 'B' || head[1] != 'M') {
        return false;
    }
    const unsigned char* info = head + 14;
    const uint32_t infoSize = Read32(info);
    int width, height, planes, bits;
    if (infoSize == 12) {
        width = Read16(info + 4);
        height = Read16(info + 6);
        planes = Read16(info + 8);
        bits = Read16(info + 10);
    } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 ||
               infoSize == 124) {
        width = static_cast<int32_t>(Read32(info + 4));
        height = static_cast<int32_t>(Read32(info + 8));
        planes = Read16(info + 12);
        bits = Read16(info + 14);
        if (height < 0 && height >= -kMaxBitmapSide) {
            height = -height; // a top-down bitmap
        }
    } else {
        return false;
    }
    return width >= 1 && width <= kMaxBitmapSide && height >= 1 && height <= kMaxBitmapSide &&
           planes == 1 && IsUsualBitDepth(bits);
}
