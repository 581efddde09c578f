// Writes an AVI file front to back: the header list with one stream list per stream, the 'movi'
// list with the chunks in the order given (so that streams interleave as they are written), and
// an idx1 index. Frame counts, stream lengths and buffer sizes are filled in when it is closed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/scoped_file.h"
#include "video/avi_format.h"

// AVI 1.0 readers count in signed 32-bit offsets: the writer stays below 2 GiB.
constexpr uint64_t kAviLargestFile = 0x7F000000;

struct AviStreamSpec {
    AviStreamHeader header;            // length and suggestedBufferSize are filled in on closing
    std::vector<unsigned char> format; // the 'strf' contents
    char chunkType[3];                 // "dc" compressed video, "db" raw video, "wb" sound
};

struct AviStreamTotals {
    uint32_t chunks;
    uint64_t bytes;
    uint32_t largest;
};

struct AviWriter {
    ScopedFile file;
    uint64_t position; // bytes written so far
    bool failed;
    AviMainHeader main;
    std::vector<AviStreamSpec> streams;
    std::vector<AviStreamTotals> totals;
    uint64_t mainHeaderAt;
    std::vector<uint64_t> streamHeaderAt;
    uint64_t moviTypeAt; // where the 'movi' list type lies: idx1 offsets count from there
    std::vector<unsigned char> index; // 16 bytes an entry
};

// Creates the file and writes everything up to the opening of the 'movi' list. `main` gives the
// frame time, flags and picture size; its counts are filled in on closing.
bool OpenAviWriter(AviWriter& writer, const char* path, const AviMainHeader& main,
                   const std::vector<AviStreamSpec>& streams);

// Appends one chunk of `stream` and its index entry (flagged as a key frame when asked).
bool WriteAviChunk(AviWriter& writer, int stream, const void* data, uint32_t size, bool keyFrame);

// Writes the index, fills in sizes and counts and closes the file. False when anything failed.
bool CloseAviWriter(AviWriter& writer);

// Closes the file without finishing it (also done when the writer goes out of scope).
void AbandonAviWriter(AviWriter& writer);
