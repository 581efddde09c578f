// The pieces of an AVI file (a RIFF form 'AVI '): the main header, the stream headers, the
// bitmap format of a video stream and the flags of the idx1 index. Numbers are little-endian.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/riff_file.h"

constexpr uint32_t kAviFormType = MakeFourCC('A', 'V', 'I', ' ');
constexpr uint32_t kHdrlListType = MakeFourCC('h', 'd', 'r', 'l');
constexpr uint32_t kAvihChunkId = MakeFourCC('a', 'v', 'i', 'h');
constexpr uint32_t kStrlListType = MakeFourCC('s', 't', 'r', 'l');
constexpr uint32_t kStrhChunkId = MakeFourCC('s', 't', 'r', 'h');
constexpr uint32_t kStrfChunkId = MakeFourCC('s', 't', 'r', 'f');
constexpr uint32_t kMoviListType = MakeFourCC('m', 'o', 'v', 'i');
constexpr uint32_t kRecListType = MakeFourCC('r', 'e', 'c', ' ');
constexpr uint32_t kIdx1ChunkId = MakeFourCC('i', 'd', 'x', '1');
constexpr uint32_t kVideoStreamType = MakeFourCC('v', 'i', 'd', 's');
constexpr uint32_t kAudioStreamType = MakeFourCC('a', 'u', 'd', 's');
constexpr uint32_t kMotionJpegHandler = MakeFourCC('M', 'J', 'P', 'G');
constexpr uint32_t kDibHandler = MakeFourCC('D', 'I', 'B', ' ');

constexpr uint32_t kAviHasIndex = 0x10;       // avih flags
constexpr uint32_t kAviIsInterleaved = 0x100; // avih flags
constexpr uint32_t kAviKeyFrame = 0x10;       // idx1 flags

constexpr uint32_t kAviMainHeaderSize = 56;
constexpr uint32_t kAviStreamHeaderSize = 56;
constexpr uint32_t kBitmapInfoHeaderSize = 40;
constexpr uint32_t kWaveFormatPcmSize = 16;

struct AviMainHeader {
    uint32_t microSecPerFrame;
    uint32_t maxBytesPerSec;
    uint32_t paddingGranularity;
    uint32_t flags;
    uint32_t totalFrames;
    uint32_t initialFrames;
    uint32_t streams;
    uint32_t suggestedBufferSize;
    uint32_t width;
    uint32_t height;
};

struct AviStreamHeader {
    uint32_t type; // kVideoStreamType, kAudioStreamType, ...
    uint32_t handler;
    uint32_t flags;
    uint16_t priority;
    uint16_t language;
    uint32_t initialFrames;
    uint32_t scale; // rate / scale samples a second
    uint32_t rate;
    uint32_t start;
    uint32_t length;
    uint32_t suggestedBufferSize;
    uint32_t quality;
    uint32_t sampleSize;
    int16_t frame[4]; // left, top, right, bottom
};

void EncodeAviMainHeader(const AviMainHeader& header, unsigned char* out);     // 56 bytes
AviMainHeader DecodeAviMainHeader(const unsigned char* bytes, uint32_t size);  // zero-filled
void EncodeAviStreamHeader(const AviStreamHeader& header, unsigned char* out); // 56 bytes
AviStreamHeader DecodeAviStreamHeader(const unsigned char* bytes, uint32_t size);

// The fields of a BITMAPINFOHEADER this program reads and writes.
struct BitmapFormat {
    int32_t width;
    int32_t height;
    uint16_t bitCount;
    uint32_t compression; // 0 for uncompressed rows, else a four-character code
    uint32_t sizeImage;
};

std::vector<unsigned char> EncodeBitmapFormat(const BitmapFormat& format); // 40 bytes
// False when fewer than 40 bytes are given or the header size field says less.
bool DecodeBitmapFormat(const std::vector<unsigned char>& bytes, BitmapFormat& format);

// A PCM WAVEFORMAT of 16 bytes.
std::vector<unsigned char> EncodePcmFormat(uint16_t channels, uint32_t samplesPerSec,
                                           uint16_t bitsPerSample);
