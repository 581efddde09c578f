// Reads the structure of an AVI file: its main header, the header and format of each stream and
// where every data chunk of the 'movi' list lies (also inside 'rec ' lists). The idx1 index is
// not needed for that. Every size is checked against the chunk that holds it and the bytes
// present; chunk contents are read only on demand.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/scoped_file.h"
#include "video/avi_format.h"

constexpr int kAviLargestStreamCount = 50;            // streams past this one are ignored
constexpr uint32_t kAviLargestFormatSize = 64 * 1024; // of one stream's 'strf' chunk
constexpr size_t kAviLargestChunkCount = 4 * 1024 * 1024;

// The bytes an AVI file is read from: a block of memory, or else an open file (closed with the
// source).
struct AviByteSource {
    const unsigned char* data;
    uint64_t size;
    ScopedFile file;
};

// Opens a file for binary reading as a source; false when it cannot be opened or measured.
bool OpenAviFileSource(const char* path, AviByteSource& source);

struct AviStream {
    AviStreamHeader header;
    std::vector<unsigned char> format; // the contents of its 'strf' chunk
};

struct AviChunk {
    uint32_t id;     // "00dc", "01wb", ...
    int stream;      // from the first two characters of the id
    uint64_t offset; // of the contents
    uint32_t size;
};

struct AviContents {
    AviMainHeader main;
    std::vector<AviStream> streams;
    std::vector<AviChunk> chunks; // in the order they are stored
};

enum class AviReadResult {
    Ok,
    NotAvi,    // no RIFF 'AVI ' form at the start
    Damaged,   // a size that does not fit, a header too short, too many chunks
    NoStreams, // no 'hdrl' list with a stream in it
    NoMovie,   // no 'movi' list
};

AviReadResult ReadAviContents(const AviByteSource& source, AviContents& contents);

// Reads the contents of one chunk; false when they cannot be read.
bool ReadAviChunk(const AviByteSource& source, const AviChunk& chunk,
                  std::vector<unsigned char>& bytes);

// The stream number of a chunk id "NNxx" (two decimal digits), or -1.
int AviChunkStream(uint32_t id);
