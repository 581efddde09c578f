#include "video/bmp_file.h"

#include <cstdio>
#include <cstring>

#include "audio/riff_file.h"
#include "base/scoped_file.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kOs2CoreHeaderSize = 12;
constexpr uint32_t kOs2InfoHeaderSize = 64;
constexpr uint32_t kLargestInfoHeaderSize = 124; // BITMAPV5HEADER
constexpr uint32_t kUncompressed = 0;
constexpr int kLargestColourMap = 256;

bool KnownInfoHeaderSize(uint32_t size) {
    switch (size) {
    case kOs2CoreHeaderSize:
    case 40:
    case 52:
    case 56:
    case kOs2InfoHeaderSize:
    case 108:
    case kLargestInfoHeaderSize:
        return true;
    default:
        return false;
    }
}

int Fail(const char** problem, const char* reason) {
    if (problem != nullptr) {
        *problem = reason;
    }
    return -1;
}

int32_t Signed32(const unsigned char* bytes) {
    return static_cast<int32_t>(ReadLittleEndian32(bytes));
}

} // namespace

int ParseBmp(const unsigned char* data, size_t size, BmpLayout& layout, const char** problem) {
    layout = BmpLayout{};
    if (data == nullptr || size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') {
        return Fail(problem, "Not a BMP file");
    }
    const uint64_t pixelStart = ReadLittleEndian32(data + 10);
    const uint32_t headerSize = ReadLittleEndian32(data + kFileHeaderSize);
    if (!KnownInfoHeaderSize(headerSize) || size < kFileHeaderSize + headerSize) {
        return Fail(problem, "Invalid BMP file: bad header length");
    }
    const unsigned char* info = data + kFileHeaderSize;
    int64_t width;
    int64_t height;
    uint32_t planes;
    uint32_t compression = kUncompressed;
    uint32_t coloursUsed = 0;
    int entrySize;
    if (headerSize == kOs2CoreHeaderSize) {
        width = ReadLittleEndian16(info + 4);
        height = ReadLittleEndian16(info + 6);
        planes = ReadLittleEndian16(info + 8);
        layout.dib.bitCount = ReadLittleEndian16(info + 10);
        entrySize = 3;
    } else {
        width = Signed32(info + 4);
        height = Signed32(info + 8);
        planes = ReadLittleEndian16(info + 12);
        layout.dib.bitCount = ReadLittleEndian16(info + 14);
        compression = ReadLittleEndian32(info + 16);
        coloursUsed = ReadLittleEndian32(info + 32);
        entrySize = 4;
    }
    if (planes != 1) {
        return Fail(problem, "Invalid BMP file: biPlanes not equal to 1");
    }
    if (!DibBitCountSupported(layout.dib.bitCount) || compression != kUncompressed) {
        return Fail(problem, "Sorry, compressed or unsupported BMPs not yet supported");
    }
    layout.bottomUp = height > 0;
    if (height < 0) {
        height = -height;
    }
    if (width <= 0 || height <= 0 || width > kBmpLargestSide || height > kBmpLargestSide) {
        return Fail(problem, "Invalid BMP file: image width or height out of range");
    }
    layout.dib.width = static_cast<int>(width);
    layout.dib.height = static_cast<int>(height);

    uint64_t colourMapEnd = kFileHeaderSize + headerSize;
    if (layout.dib.bitCount == 8) {
        const uint32_t entries = coloursUsed == 0 ? kLargestColourMap : coloursUsed;
        if (entries > kLargestColourMap) {
            return Fail(problem, "Unsupported BMP colormap format");
        }
        layout.dib.palette = data + colourMapEnd;
        layout.dib.paletteEntries = static_cast<int>(entries);
        layout.dib.paletteEntrySize = entrySize;
        colourMapEnd += static_cast<uint64_t>(entries) * static_cast<uint64_t>(entrySize);
    }
    layout.stride = DibRowStride(layout.dib.width, layout.dib.bitCount);
    const uint64_t pixelBytes = layout.stride * static_cast<uint64_t>(height);
    if (pixelStart < colourMapEnd || pixelStart > size || size - pixelStart < pixelBytes) {
        return Fail(problem, "Invalid BMP file: the pixels do not fit in the file");
    }
    layout.pixelStart = pixelStart;
    return 0;
}

bool BmpRowToRgb(const BmpLayout& layout, const unsigned char* data, int y, unsigned char* rgb) {
    if (y < 0 || y >= layout.dib.height) {
        return false;
    }
    const int stored = layout.bottomUp ? layout.dib.height - 1 - y : y;
    const unsigned char* row =
        data + layout.pixelStart + layout.stride * static_cast<uint64_t>(stored);
    return DibRowToRgb(layout.dib, row, rgb);
}

int DecodeBmp(const unsigned char* data, size_t size, BmpImage& image) {
    image = BmpImage{};
    BmpLayout layout;
    if (ParseBmp(data, size, layout) != 0) {
        return -1;
    }
    const size_t rowBytes = static_cast<size_t>(layout.dib.width) * 3;
    image.rgb.resize(rowBytes * static_cast<size_t>(layout.dib.height));
    for (int y = 0; y < layout.dib.height; ++y) {
        if (!BmpRowToRgb(layout, data, y, image.rgb.data() + rowBytes * static_cast<size_t>(y))) {
            image.rgb.clear();
            return -1;
        }
    }
    image.width = layout.dib.width;
    image.height = layout.dib.height;
    return 0;
}

bool ReadBmpFileBytes(const char* path, std::vector<unsigned char>& bytes) {
    bytes.clear();
    const ScopedFile file(path, "rb");
    if (!file) {
        return false;
    }
    bool ok = std::fseek(file.get(), 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file.get()) : -1;
    ok = length >= 0 && static_cast<uint64_t>(length) <= kBmpLargestFile &&
         std::fseek(file.get(), 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(length));
        ok = std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    }
    if (!ok) {
        bytes.clear();
    }
    return ok;
}

std::string Bmp24Headers(int width, int height) {
    const uint32_t imageSize = static_cast<uint32_t>(DibRowStride(width, 24) * height);
    unsigned char headers[54] = {'B', 'M'};
    WriteLittleEndian32(headers + 2, 54 + imageSize);
    WriteLittleEndian32(headers + 10, 54);
    WriteLittleEndian32(headers + 14, 40);
    WriteLittleEndian32(headers + 18, static_cast<uint32_t>(width));
    WriteLittleEndian32(headers + 22, static_cast<uint32_t>(height));
    WriteLittleEndian16(headers + 26, 1);
    WriteLittleEndian16(headers + 28, 24);
    WriteLittleEndian32(headers + 34, imageSize);
    return std::string(reinterpret_cast<char*>(headers), sizeof headers);
}

bool WriteBmp24File(const char* path, int width, int height, const unsigned char* rows) {
    if (width <= 0 || height <= 0 || width > kBmpLargestSide || height > kBmpLargestSide) {
        return false;
    }
    ScopedFile file(path, "wb");
    if (!file) {
        return false;
    }
    const std::string headers = Bmp24Headers(width, height);
    const size_t imageSize = static_cast<size_t>(DibRowStride(width, 24)) * height;
    const bool written =
        std::fwrite(headers.data(), 1, headers.size(), file.get()) == headers.size() &&
        std::fwrite(rows, 1, imageSize, file.get()) == imageSize;
    return file.close() && written;
}
