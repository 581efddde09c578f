#include "video/avi_reader.h"

#include <cstring>

namespace {

bool ReadAt(const AviByteSource& source, uint64_t offset, void* out, size_t count) {
    if (offset > source.size || source.size - offset < count) {
        return false;
    }
    std::FILE* file = source.file.get();
    if (file == nullptr) {
        if (count > 0) {
            std::memcpy(out, source.data + offset, count);
        }
        return true;
    }
#ifdef _WIN32
    if (_fseeki64(file, static_cast<int64_t>(offset), SEEK_SET) != 0) {
        return false;
    }
#else
    if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) {
        return false;
    }
#endif
    return std::fread(out, 1, count, file) == count;
}

// A chunk header read at `position` inside a parent that ends at `end`.
struct ChunkHeader {
    uint32_t id;
    uint32_t size;
    uint32_t listType; // LIST and RIFF only
    uint64_t contents; // offset of the contents (of the list type for a list)
    uint64_t next;     // behind the contents and their pad byte
};

enum class Step { Read, End, Damaged };

Step ReadChunkHeader(const AviByteSource& source, uint64_t position, uint64_t end,
                     ChunkHeader& header) {
    if (position >= end || end - position < 8) {
        return Step::End; // what is left is too short for a header: ignored as padding
    }
    unsigned char bytes[12];
    if (!ReadAt(source, position, bytes, 8)) {
        return Step::Damaged;
    }
    header.id = ReadLittleEndian32(bytes);
    header.size = ReadLittleEndian32(bytes + 4);
    header.contents = position + 8;
    header.listType = 0;
    if (header.size > end - header.contents) {
        return Step::Damaged;
    }
    header.next = header.contents + header.size + (header.size & 1);
    if (header.id == kListChunkId) {
        if (header.size < 4 || !ReadAt(source, header.contents, bytes + 8, 4)) {
            return Step::Damaged;
        }
        header.listType = ReadLittleEndian32(bytes + 8);
    }
    return Step::Read;
}

AviReadResult ReadStreamList(const AviByteSource& source, const ChunkHeader& list,
                             AviContents& contents) {
    AviStream stream = {};
    bool haveHeader = false;
    const uint64_t end = list.contents + list.size;
    ChunkHeader chunk;
    for (uint64_t at = list.contents + 4;; at = chunk.next) {
        const Step step = ReadChunkHeader(source, at, end, chunk);
        if (step == Step::End) {
            break;
        }
        if (step == Step::Damaged) {
            return AviReadResult::Damaged;
        }
        if (chunk.id == kStrhChunkId) {
            unsigned char bytes[kAviStreamHeaderSize];
            const uint32_t size =
                chunk.size < kAviStreamHeaderSize ? chunk.size : kAviStreamHeaderSize;
            if (chunk.size < 8 || !ReadAt(source, chunk.contents, bytes, size)) {
                return AviReadResult::Damaged;
            }
            stream.header = DecodeAviStreamHeader(bytes, size);
            haveHeader = true;
        } else if (chunk.id == kStrfChunkId) {
            if (chunk.size > kAviLargestFormatSize) {
                return AviReadResult::Damaged;
            }
            stream.format.resize(chunk.size);
            if (!ReadAt(source, chunk.contents, stream.format.data(), chunk.size)) {
                return AviReadResult::Damaged;
            }
        }
    }
    if (!haveHeader) {
        return AviReadResult::Damaged;
    }
    if (contents.streams.size() < kAviLargestStreamCount) {
        contents.streams.push_back(std::move(stream));
    }
    return AviReadResult::Ok;
}

AviReadResult ReadHeaderList(const AviByteSource& source, const ChunkHeader& list,
                             AviContents& contents, bool& haveMainHeader) {
    const uint64_t end = list.contents + list.size;
    ChunkHeader chunk;
    for (uint64_t at = list.contents + 4;; at = chunk.next) {
        const Step step = ReadChunkHeader(source, at, end, chunk);
        if (step == Step::End) {
            return AviReadResult::Ok;
        }
        if (step == Step::Damaged) {
            return AviReadResult::Damaged;
        }
        if (chunk.id == kAvihChunkId) {
            unsigned char bytes[kAviMainHeaderSize];
            const uint32_t size = chunk.size < kAviMainHeaderSize ? chunk.size : kAviMainHeaderSize;
            if (chunk.size < 40 || !ReadAt(source, chunk.contents, bytes, size)) {
                return AviReadResult::Damaged;
            }
            contents.main = DecodeAviMainHeader(bytes, size);
            haveMainHeader = true;
        } else if (chunk.id == kListChunkId && chunk.listType == kStrlListType) {
            const AviReadResult result = ReadStreamList(source, chunk, contents);
            if (result != AviReadResult::Ok) {
                return result;
            }
        }
    }
}

AviReadResult ReadMovieList(const AviByteSource& source, const ChunkHeader& list,
                            AviContents& contents, int depth) {
    const uint64_t end = list.contents + list.size;
    ChunkHeader chunk;
    for (uint64_t at = list.contents + 4;; at = chunk.next) {
        const Step step = ReadChunkHeader(source, at, end, chunk);
        if (step == Step::End) {
            return AviReadResult::Ok;
        }
        if (step == Step::Damaged) {
            return AviReadResult::Damaged;
        }
        if (chunk.id == kListChunkId) {
            // 'rec ' groups hold one moment's chunks; they are not nested further.
            if (chunk.listType == kRecListType && depth == 0) {
                const AviReadResult result = ReadMovieList(source, chunk, contents, depth + 1);
                if (result != AviReadResult::Ok) {
                    return result;
                }
            }
            continue;
        }
        const int stream = AviChunkStream(chunk.id);
        if (stream < 0 || stream >= static_cast<int>(contents.streams.size())) {
            continue; // JUNK, an index chunk, a stream that was not kept
        }
        if (contents.chunks.size() >= kAviLargestChunkCount) {
            return AviReadResult::Damaged;
        }
        contents.chunks.push_back(AviChunk{chunk.id, stream, chunk.contents, chunk.size});
    }
}

} // namespace

bool OpenAviFileSource(const char* path, AviByteSource& source) {
    source.data = nullptr;
    source.size = 0;
    source.file.reset(std::fopen(path, "rb"));
    if (!source.file) {
        return false;
    }
#ifdef _WIN32
    const bool measured = _fseeki64(source.file.get(), 0, SEEK_END) == 0;
    const int64_t size = measured ? _ftelli64(source.file.get()) : -1;
#else
    const bool measured = fseeko(source.file.get(), 0, SEEK_END) == 0;
    const int64_t size = measured ? static_cast<int64_t>(ftello(source.file.get())) : -1;
#endif
    if (size < 0) {
        source.file.reset();
        return false;
    }
    source.size = static_cast<uint64_t>(size);
    return true;
}

int AviChunkStream(uint32_t id) {
    const char tens = static_cast<char>(id & 0xFF);
    const char ones = static_cast<char>(id >> 8 & 0xFF);
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') {
        return -1;
    }
    return (tens - '0') * 10 + (ones - '0');
}

AviReadResult ReadAviContents(const AviByteSource& source, AviContents& contents) {
    contents = AviContents{};
    unsigned char form[12];
    if (!ReadAt(source, 0, form, sizeof form) || ReadLittleEndian32(form) != kRiffChunkId ||
        ReadLittleEndian32(form + 8) != kAviFormType) {
        return AviReadResult::NotAvi;
    }
    const uint32_t formSize = ReadLittleEndian32(form + 4);
    if (formSize < 4 || formSize > source.size - 8) {
        return AviReadResult::Damaged;
    }
    const uint64_t end = 8 + static_cast<uint64_t>(formSize);
    bool haveMainHeader = false;
    bool haveMovie = false;
    ChunkHeader chunk;
    for (uint64_t at = 12;; at = chunk.next) {
        const Step step = ReadChunkHeader(source, at, end, chunk);
        if (step == Step::End) {
            break;
        }
        if (step == Step::Damaged) {
            if (haveMovie) {
                break; // a damaged index or tail after the movie loses nothing it needs
            }
            return AviReadResult::Damaged;
        }
        if (chunk.id != kListChunkId) {
            continue;
        }
        AviReadResult result = AviReadResult::Ok;
        if (chunk.listType == kHdrlListType && !haveMainHeader) {
            result = ReadHeaderList(source, chunk, contents, haveMainHeader);
        } else if (chunk.listType == kMoviListType && !haveMovie) {
            if (contents.streams.empty()) {
                return AviReadResult::NoStreams; // the headers come first
            }
            result = ReadMovieList(source, chunk, contents, 0);
            haveMovie = true;
        }
        if (result != AviReadResult::Ok) {
            return result;
        }
    }
    if (!haveMainHeader || contents.streams.empty()) {
        return AviReadResult::NoStreams;
    }
    return haveMovie ? AviReadResult::Ok : AviReadResult::NoMovie;
}

bool ReadAviChunk(const AviByteSource& source, const AviChunk& chunk,
                  std::vector<unsigned char>& bytes) {
    bytes.resize(chunk.size);
    return ReadAt(source, chunk.offset, bytes.data(), chunk.size);
}
