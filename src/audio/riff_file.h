// RIFF files on C stdio: open, descend into chunks, ascend out of them (fixing up the size of a
// chunk that was written and padding it to an even length), create chunks, read, write, seek.
// All numbers in the file are little-endian; a chunk's size counts its contents only; a chunk of
// odd size is followed by one pad byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "base/scoped_file.h"

constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<unsigned char>(a)) |
           static_cast<uint32_t>(static_cast<unsigned char>(b)) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(c)) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(d)) << 24;
}

constexpr uint32_t kRiffChunkId = MakeFourCC('R', 'I', 'F', 'F');
constexpr uint32_t kListChunkId = MakeFourCC('L', 'I', 'S', 'T');
constexpr uint32_t kWaveFormType = MakeFourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFmtChunkId = MakeFourCC('f', 'm', 't', ' ');
constexpr uint32_t kFactChunkId = MakeFourCC('f', 'a', 'c', 't');
constexpr uint32_t kDataChunkId = MakeFourCC('d', 'a', 't', 'a');
constexpr uint32_t kDispChunkId = MakeFourCC('D', 'I', 'S', 'P');
constexpr uint32_t kPlstChunkId = MakeFourCC('p', 'l', 's', 't');

struct RiffFile {
    ScopedFile file; // empty when closed
};

// One chunk header and where its contents lie.
struct RiffChunk {
    uint32_t id;
    uint32_t size;       // of the contents; for RIFF and LIST this includes the form type
    uint32_t formType;   // RIFF and LIST chunks only
    uint32_t dataOffset; // file offset of the contents (of the form type for RIFF and LIST)
    uint32_t dirty;      // 1 when the chunk was created here: its size is fixed up on ascend
};

enum class RiffOpenMode {
    Read,  // an existing file
    Write, // created, or truncated when it exists
};

enum class RiffFind {
    Next,  // the chunk at the current position, whatever it is
    Chunk, // the next chunk whose id is chunk.id
    Form,  // the next RIFF chunk whose form type is chunk.formType
};

enum class RiffCreate {
    Plain, // a chunk with id chunk.id
    Form,  // a RIFF chunk with form type chunk.formType
};

// Both modes are binary. Returns false when the file cannot be opened.
bool RiffOpen(RiffFile& riff, const char* path, RiffOpenMode mode);

// Closes the file (nothing happens when it is not open). False when the last buffered writes
// could not be flushed.
bool RiffClose(RiffFile& riff);

// Reads the chunk header at the current position, or searches forward for the chunk asked for,
// skipping other chunks. With a parent the search stays inside the parent's contents. On success
// the position is at the contents (behind the form type of a RIFF or LIST chunk); on failure
// the position is where it was.
bool RiffDescend(RiffFile& riff, RiffChunk& chunk, const RiffChunk* parent, RiffFind find);

// Leaves a chunk. For a chunk created here the size field is rewritten from the current position
// and an odd size gets a zero pad byte. Afterwards the position is behind the chunk and its pad.
bool RiffAscend(RiffFile& riff, RiffChunk& chunk);

// Writes a chunk header at the current position (id and size, and the form type of a RIFF form)
// and marks the chunk for size fix-up. The position is then at the contents.
bool RiffCreateChunk(RiffFile& riff, RiffChunk& chunk, RiffCreate kind);

// Bytes read or written; fewer than asked at the end of the file or on an error.
size_t RiffRead(RiffFile& riff, void* buffer, size_t count);
size_t RiffWrite(RiffFile& riff, const void* buffer, size_t count);

// Like fseek with SEEK_SET, SEEK_CUR or SEEK_END; returns the new position or -1.
int64_t RiffSeek(RiffFile& riff, int64_t offset, int origin);

// The length of the file in bytes, or -1; the position is kept.
int64_t RiffFileLength(RiffFile& riff);

uint32_t ReadLittleEndian32(const unsigned char* bytes);
uint16_t ReadLittleEndian16(const unsigned char* bytes);
void WriteLittleEndian32(unsigned char* bytes, uint32_t value);
void WriteLittleEndian16(unsigned char* bytes, uint16_t value);
