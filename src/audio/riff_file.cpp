#include "audio/riff_file.h"

namespace {

// RIFF offsets are 32-bit; positions are kept in 64 bits so that a size near 4 GiB cannot wrap.
constexpr int64_t kLargestOffset = 0xFFFFFFFFLL;

int64_t Tell(std::FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

bool SeekTo(std::FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(file, offset, origin) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

int64_t ChunkEnd(const RiffChunk& chunk) {
    return static_cast<int64_t>(chunk.dataOffset) + chunk.size;
}

int64_t PaddedChunkEnd(const RiffChunk& chunk) {
    return ChunkEnd(chunk) + (chunk.size & 1);
}

bool ReadU32(std::FILE* file, uint32_t& value) {
    unsigned char bytes[4];
    if (std::fread(bytes, 1, 4, file) != 4) {
        return false;
    }
    value = ReadLittleEndian32(bytes);
    return true;
}

bool WriteU32(std::FILE* file, uint32_t value) {
    unsigned char bytes[4];
    WriteLittleEndian32(bytes, value);
    return std::fwrite(bytes, 1, 4, file) == 4;
}

bool Matches(const RiffChunk& found, const RiffChunk& wanted, RiffFind find) {
    switch (find) {
    case RiffFind::Next:
        return true;
    case RiffFind::Chunk:
        return found.id == wanted.id;
    case RiffFind::Form:
        return found.id == kRiffChunkId && found.formType == wanted.formType;
    }
    return false;
}

} // namespace

uint32_t ReadLittleEndian32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t ReadLittleEndian16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

void WriteLittleEndian32(unsigned char* bytes, uint32_t value) {
    bytes[0] = static_cast<unsigned char>(value);
    bytes[1] = static_cast<unsigned char>(value >> 8);
    bytes[2] = static_cast<unsigned char>(value >> 16);
    bytes[3] = static_cast<unsigned char>(value >> 24);
}

void WriteLittleEndian16(unsigned char* bytes, uint16_t value) {
    bytes[0] = static_cast<unsigned char>(value);
    bytes[1] = static_cast<unsigned char>(value >> 8);
}

bool RiffOpen(RiffFile& riff, const char* path, RiffOpenMode mode) {
    riff.file.reset(std::fopen(path, mode == RiffOpenMode::Read ? "rb" : "wb"));
    return static_cast<bool>(riff.file.get());
}

bool RiffClose(RiffFile& riff) {
    return !riff.file || riff.file.close();
}

bool RiffDescend(RiffFile& riff, RiffChunk& chunk, const RiffChunk* parent, RiffFind find) {
    if (!riff.file) {
        return false;
    }
    const int64_t start = Tell(riff.file.get());
    if (start < 0) {
        return false;
    }
    int64_t position = start;
    for (;;) {
        if (parent != nullptr && position >= ChunkEnd(*parent)) {
            break;
        }
        if (position + 8 > kLargestOffset) {
            break;
        }
        RiffChunk found = {};
        if (!ReadU32(riff.file.get(), found.id) || !ReadU32(riff.file.get(), found.size)) {
            break;
        }
        found.dataOffset = static_cast<uint32_t>(position + 8);
        if ((found.id == kRiffChunkId || found.id == kListChunkId) &&
            !ReadU32(riff.file.get(), found.formType)) {
            break;
        }
        if (Matches(found, chunk, find)) {
            chunk = found;
            return true;
        }
        position = PaddedChunkEnd(found);
        if (!SeekTo(riff.file.get(), position, SEEK_SET)) {
            break;
        }
    }
    SeekTo(riff.file.get(), start, SEEK_SET);
    return false;
}

bool RiffAscend(RiffFile& riff, RiffChunk& chunk) {
    if (!riff.file) {
        return false;
    }
    if (!chunk.dirty) {
        return SeekTo(riff.file.get(), PaddedChunkEnd(chunk), SEEK_SET);
    }
    const int64_t end = Tell(riff.file.get());
    if (end < chunk.dataOffset || end > kLargestOffset) {
        return false;
    }
    chunk.size = static_cast<uint32_t>(end - chunk.dataOffset);
    if (!SeekTo(riff.file.get(), static_cast<int64_t>(chunk.dataOffset) - 4, SEEK_SET) ||
        !WriteU32(riff.file.get(), chunk.size) || !SeekTo(riff.file.get(), end, SEEK_SET)) {
        return false;
    }
    if (chunk.size & 1) {
        const unsigned char pad = 0;
        if (std::fwrite(&pad, 1, 1, riff.file.get()) != 1) {
            return false;
        }
    }
    chunk.dirty = 0;
    return true;
}

bool RiffCreateChunk(RiffFile& riff, RiffChunk& chunk, RiffCreate kind) {
    if (!riff.file) {
        return false;
    }
    const int64_t position = Tell(riff.file.get());
    if (position < 0 || position + 8 > kLargestOffset) {
        return false;
    }
    if (kind == RiffCreate::Form) {
        chunk.id = kRiffChunkId;
    }
    if (!WriteU32(riff.file.get(), chunk.id) || !WriteU32(riff.file.get(), chunk.size)) {
        return false;
    }
    if (kind == RiffCreate::Form && !WriteU32(riff.file.get(), chunk.formType)) {
        return false;
    }
    chunk.dataOffset = static_cast<uint32_t>(position + 8);
    chunk.dirty = 1;
    return true;
}

size_t RiffRead(RiffFile& riff, void* buffer, size_t count) {
    if (!riff.file || count == 0) {
        return 0;
    }
    return std::fread(buffer, 1, count, riff.file.get());
}

size_t RiffWrite(RiffFile& riff, const void* buffer, size_t count) {
    if (!riff.file || count == 0) {
        return 0;
    }
    return std::fwrite(buffer, 1, count, riff.file.get());
}

int64_t RiffSeek(RiffFile& riff, int64_t offset, int origin) {
    if (!riff.file || !SeekTo(riff.file.get(), offset, origin)) {
        return -1;
    }
    return Tell(riff.file.get());
}

int64_t RiffFileLength(RiffFile& riff) {
    if (!riff.file) {
        return -1;
    }
    const int64_t position = Tell(riff.file.get());
    if (position < 0 || !SeekTo(riff.file.get(), 0, SEEK_END)) {
        return -1;
    }
    const int64_t length = Tell(riff.file.get());
    if (!SeekTo(riff.file.get(), position, SEEK_SET)) {
        return -1;
    }
    return length;
}
