#include "video/avi_format.h"

#include <cstring>

namespace {

// Copies up to `size` bytes of a stored header into a zero-filled buffer of `full` bytes, so that
// a short header reads as zeros in its missing fields.
void ZeroFilled(const unsigned char* bytes, uint32_t size, unsigned char* buffer, uint32_t full) {
    std::memset(buffer, 0, full);
    std::memcpy(buffer, bytes, size < full ? size : full);
}

} // namespace

void EncodeAviMainHeader(const AviMainHeader& header, unsigned char* out) {
    std::memset(out, 0, kAviMainHeaderSize);
    const uint32_t fields[] = {header.microSecPerFrame,
                               header.maxBytesPerSec,
                               header.paddingGranularity,
                               header.flags,
                               header.totalFrames,
                               header.initialFrames,
                               header.streams,
                               header.suggestedBufferSize,
                               header.width,
                               header.height};
    for (size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i) {
        WriteLittleEndian32(out + 4 * i, fields[i]);
    }
}

AviMainHeader DecodeAviMainHeader(const unsigned char* bytes, uint32_t size) {
    unsigned char b[kAviMainHeaderSize];
    ZeroFilled(bytes, size, b, sizeof b);
    AviMainHeader header;
    header.microSecPerFrame = ReadLittleEndian32(b);
    header.maxBytesPerSec = ReadLittleEndian32(b + 4);
    header.paddingGranularity = ReadLittleEndian32(b + 8);
    header.flags = ReadLittleEndian32(b + 12);
    header.totalFrames = ReadLittleEndian32(b + 16);
    header.initialFrames = ReadLittleEndian32(b + 20);
    header.streams = ReadLittleEndian32(b + 24);
    header.suggestedBufferSize = ReadLittleEndian32(b + 28);
    header.width = ReadLittleEndian32(b + 32);
    header.height = ReadLittleEndian32(b + 36);
    return header;
}

void EncodeAviStreamHeader(const AviStreamHeader& header, unsigned char* out) {
    WriteLittleEndian32(out, header.type);
    WriteLittleEndian32(out + 4, header.handler);
    WriteLittleEndian32(out + 8, header.flags);
    WriteLittleEndian16(out + 12, header.priority);
    WriteLittleEndian16(out + 14, header.language);
    WriteLittleEndian32(out + 16, header.initialFrames);
    WriteLittleEndian32(out + 20, header.scale);
    WriteLittleEndian32(out + 24, header.rate);
    WriteLittleEndian32(out + 28, header.start);
    WriteLittleEndian32(out + 32, header.length);
    WriteLittleEndian32(out + 36, header.suggestedBufferSize);
    WriteLittleEndian32(out + 40, header.quality);
    WriteLittleEndian32(out + 44, header.sampleSize);
    for (int i = 0; i < 4; ++i) {
        WriteLittleEndian16(out + 48 + 2 * i, static_cast<uint16_t>(header.frame[i]));
    }
}

AviStreamHeader DecodeAviStreamHeader(const unsigned char* bytes, uint32_t size) {
    unsigned char b[kAviStreamHeaderSize];
    ZeroFilled(bytes, size, b, sizeof b);
    AviStreamHeader header;
    header.type = ReadLittleEndian32(b);
    header.handler = ReadLittleEndian32(b + 4);
    header.flags = ReadLittleEndian32(b + 8);
    header.priority = ReadLittleEndian16(b + 12);
    header.language = ReadLittleEndian16(b + 14);
    header.initialFrames = ReadLittleEndian32(b + 16);
    header.scale = ReadLittleEndian32(b + 20);
    header.rate = ReadLittleEndian32(b + 24);
    header.start = ReadLittleEndian32(b + 28);
    header.length = ReadLittleEndian32(b + 32);
    header.suggestedBufferSize = ReadLittleEndian32(b + 36);
    header.quality = ReadLittleEndian32(b + 40);
    header.sampleSize = ReadLittleEndian32(b + 44);
    for (int i = 0; i < 4; ++i) {
        header.frame[i] = static_cast<int16_t>(ReadLittleEndian16(b + 48 + 2 * i));
    }
    return header;
}

std::vector<unsigned char> EncodeBitmapFormat(const BitmapFormat& format) {
    std::vector<unsigned char> bytes(kBitmapInfoHeaderSize, 0);
    WriteLittleEndian32(bytes.data(), kBitmapInfoHeaderSize);
    WriteLittleEndian32(bytes.data() + 4, static_cast<uint32_t>(format.width));
    WriteLittleEndian32(bytes.data() + 8, static_cast<uint32_t>(format.height));
    WriteLittleEndian16(bytes.data() + 12, 1);
    WriteLittleEndian16(bytes.data() + 14, format.bitCount);
    WriteLittleEndian32(bytes.data() + 16, format.compression);
    WriteLittleEndian32(bytes.data() + 20, format.sizeImage);
    return bytes;
}

bool DecodeBitmapFormat(const std::vector<unsigned char>& bytes, BitmapFormat& format) {
    format = BitmapFormat{};
    if (bytes.size() < kBitmapInfoHeaderSize ||
        ReadLittleEndian32(bytes.data()) < kBitmapInfoHeaderSize) {
        return false;
    }
    format.width = static_cast<int32_t>(ReadLittleEndian32(bytes.data() + 4));
    format.height = static_cast<int32_t>(ReadLittleEndian32(bytes.data() + 8));
    format.bitCount = ReadLittleEndian16(bytes.data() + 14);
    format.compression = ReadLittleEndian32(bytes.data() + 16);
    format.sizeImage = ReadLittleEndian32(bytes.data() + 20);
    return true;
}

std::vector<unsigned char> EncodePcmFormat(uint16_t channels, uint32_t samplesPerSec,
                                           uint16_t bitsPerSample) {
    std::vector<unsigned char> bytes(kWaveFormatPcmSize, 0);
    const uint16_t blockAlign = static_cast<uint16_t>(channels * ((bitsPerSample + 7) / 8));
    WriteLittleEndian16(bytes.data(), 1); // PCM
    WriteLittleEndian16(bytes.data() + 2, channels);
    WriteLittleEndian32(bytes.data() + 4, samplesPerSec);
    WriteLittleEndian32(bytes.data() + 8, samplesPerSec * blockAlign);
    WriteLittleEndian16(bytes.data() + 12, blockAlign);
    WriteLittleEndian16(bytes.data() + 14, bitsPerSample);
    return bytes;
}
