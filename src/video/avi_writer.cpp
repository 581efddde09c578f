#include "video/avi_writer.h"

#include <cstring>

namespace {

bool Put(AviWriter& writer, const void* data, size_t size) {
    if (writer.failed || !writer.file || writer.position + size > kAviLargestFile) {
        writer.failed = true;
        return false;
    }
    if (size > 0 && std::fwrite(data, 1, size, writer.file.get()) != size) {
        writer.failed = true;
        return false;
    }
    writer.position += size;
    return true;
}

bool Put32(AviWriter& writer, uint32_t value) {
    unsigned char bytes[4];
    WriteLittleEndian32(bytes, value);
    return Put(writer, bytes, 4);
}

// Rewrites 4 or more bytes at an earlier offset and returns to the end.
bool Patch(AviWriter& writer, uint64_t at, const unsigned char* bytes, size_t size) {
    std::FILE* file = writer.file.get();
    if (writer.failed || std::fseek(file, static_cast<long>(at), SEEK_SET) != 0 ||
        std::fwrite(bytes, 1, size, file) != size ||
        std::fseek(file, static_cast<long>(writer.position), SEEK_SET) != 0) {
        writer.failed = true;
        return false;
    }
    return true;
}

bool Patch32(AviWriter& writer, uint64_t at, uint32_t value) {
    unsigned char bytes[4];
    WriteLittleEndian32(bytes, value);
    return Patch(writer, at, bytes, 4);
}

// A list or chunk header whose size is patched later: returns the offset of its size field.
uint64_t OpenList(AviWriter& writer, uint32_t id, uint32_t type) {
    const uint64_t sizeAt = writer.position + 4;
    Put32(writer, id);
    Put32(writer, 0);
    if (type != 0) {
        Put32(writer, type);
    }
    return sizeAt;
}

void CloseList(AviWriter& writer, uint64_t sizeAt) {
    Patch32(writer, sizeAt, static_cast<uint32_t>(writer.position - sizeAt - 4));
}

void PutChunk(AviWriter& writer, uint32_t id, const void* data, uint32_t size) {
    Put32(writer, id);
    Put32(writer, size);
    Put(writer, data, size);
    if (size & 1) {
        const unsigned char pad = 0;
        Put(writer, &pad, 1);
    }
}

uint32_t ChunkId(int stream, const char* type) {
    return MakeFourCC(static_cast<char>('0' + stream / 10), static_cast<char>('0' + stream % 10),
                      type[0], type[1]);
}

uint32_t StreamLength(const AviStreamSpec& spec, const AviStreamTotals& totals) {
    if (spec.header.type == kAudioStreamType && spec.header.sampleSize > 0) {
        return static_cast<uint32_t>(totals.bytes / spec.header.sampleSize);
    }
    return totals.chunks;
}

} // namespace

bool OpenAviWriter(AviWriter& writer, const char* path, const AviMainHeader& main,
                   const std::vector<AviStreamSpec>& streams) {
    writer = AviWriter{};
    if (streams.empty() || streams.size() > 100) {
        return false;
    }
    writer.file.reset(std::fopen(path, "wb"));
    if (!writer.file) {
        return false;
    }
    writer.main = main;
    writer.main.streams = static_cast<uint32_t>(streams.size());
    writer.streams = streams;
    writer.totals.assign(streams.size(), AviStreamTotals{});

    OpenList(writer, kRiffChunkId, kAviFormType); // its size is written on closing
    const uint64_t headerList = OpenList(writer, kListChunkId, kHdrlListType);
    unsigned char header[kAviMainHeaderSize];
    EncodeAviMainHeader(writer.main, header);
    writer.mainHeaderAt = writer.position + 8;
    PutChunk(writer, kAvihChunkId, header, sizeof header);
    for (const AviStreamSpec& spec : streams) {
        const uint64_t streamList = OpenList(writer, kListChunkId, kStrlListType);
        EncodeAviStreamHeader(spec.header, header);
        writer.streamHeaderAt.push_back(writer.position + 8);
        PutChunk(writer, kStrhChunkId, header, kAviStreamHeaderSize);
        PutChunk(writer, kStrfChunkId, spec.format.data(),
                 static_cast<uint32_t>(spec.format.size()));
        CloseList(writer, streamList);
    }
    CloseList(writer, headerList);
    OpenList(writer, kListChunkId, kMoviListType);
    writer.moviTypeAt = writer.position - 4;
    return !writer.failed;
}

bool WriteAviChunk(AviWriter& writer, int stream, const void* data, uint32_t size, bool keyFrame) {
    if (writer.failed || stream < 0 || stream >= static_cast<int>(writer.streams.size())) {
        writer.failed = true;
        return false;
    }
    const uint32_t id = ChunkId(stream, writer.streams[static_cast<size_t>(stream)].chunkType);
    unsigned char entry[16];
    WriteLittleEndian32(entry, id);
    WriteLittleEndian32(entry + 4, keyFrame ? kAviKeyFrame : 0);
    WriteLittleEndian32(entry + 8, static_cast<uint32_t>(writer.position - writer.moviTypeAt));
    WriteLittleEndian32(entry + 12, size);
    PutChunk(writer, id, data, size);
    if (writer.failed) {
        return false;
    }
    writer.index.insert(writer.index.end(), entry, entry + sizeof entry);
    AviStreamTotals& totals = writer.totals[static_cast<size_t>(stream)];
    ++totals.chunks;
    totals.bytes += size;
    if (size > totals.largest) {
        totals.largest = size;
    }
    return true;
}

bool CloseAviWriter(AviWriter& writer) {
    if (!writer.file) {
        return false;
    }
    CloseList(writer, writer.moviTypeAt - 4);
    PutChunk(writer, kIdx1ChunkId, writer.index.data(), static_cast<uint32_t>(writer.index.size()));
    CloseList(writer, 4);

    uint32_t largest = 0;
    bool videoCounted = false;
    for (size_t i = 0; i < writer.streams.size(); ++i) {
        AviStreamSpec& spec = writer.streams[i];
        const AviStreamTotals& totals = writer.totals[i];
        spec.header.length = StreamLength(spec, totals);
        spec.header.suggestedBufferSize = totals.largest;
        if (totals.largest > largest) {
            largest = totals.largest;
        }
        if (spec.header.type == kVideoStreamType && !videoCounted) {
            writer.main.totalFrames = totals.chunks;
            videoCounted = true;
        }
        unsigned char header[kAviStreamHeaderSize];
        EncodeAviStreamHeader(spec.header, header);
        Patch(writer, writer.streamHeaderAt[i], header, sizeof header);
    }
    writer.main.suggestedBufferSize = largest;
    const uint64_t seconds100 = static_cast<uint64_t>(writer.main.totalFrames) *
                                writer.main.microSecPerFrame / 10000; // hundredths of a second
    if (writer.main.maxBytesPerSec == 0 && seconds100 > 0) {
        writer.main.maxBytesPerSec = static_cast<uint32_t>(writer.position * 100 / seconds100);
    }
    unsigned char header[kAviMainHeaderSize];
    EncodeAviMainHeader(writer.main, header);
    Patch(writer, writer.mainHeaderAt, header, sizeof header);

    const bool closed = writer.file.close();
    return closed && !writer.failed;
}

void AbandonAviWriter(AviWriter& writer) {
    writer.file.reset();
    writer.failed = true;
}
