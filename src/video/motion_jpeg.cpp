#include "video/motion_jpeg.h"

#include <cstdio>

#include "video/avi_writer.h"
#include "video/jpeg_encoder.h"

namespace {

constexpr uint32_t kUncompressedRows = 0;
constexpr int kLargestSide = 65500;
constexpr int kFullColourMap = 256;

struct FrameRows {
    const RawFrameLayout* layout;
    const unsigned char* data;
};

bool FrameRow(void* context, int y, unsigned char* rgb) {
    const FrameRows* rows = static_cast<const FrameRows*>(context);
    const RawFrameLayout& layout = *rows->layout;
    const int stored = layout.bottomUp ? layout.dib.height - 1 - y : y;
    return DibRowToRgb(layout.dib, rows->data + layout.stride * static_cast<uint64_t>(stored), rgb);
}

bool ChunkTypeOf(const AviContents& contents, int stream, char (&type)[3]) {
    for (const AviChunk& chunk : contents.chunks) {
        if (chunk.stream == stream) {
            type[0] = static_cast<char>(chunk.id >> 16 & 0xFF);
            type[1] = static_cast<char>(chunk.id >> 24 & 0xFF);
            type[2] = '\0';
            return true;
        }
    }
    return false;
}

struct Plan {
    std::vector<AviStreamSpec> streams;
    std::vector<RawFrameLayout> frames; // per stream; used for video streams
    AviMainHeader main;
};

MotionJpegResult PlanStreams(const AviContents& contents, Plan& plan) {
    plan.main = contents.main;
    plan.main.flags = kAviHasIndex | kAviIsInterleaved;
    plan.main.totalFrames = 0;
    plan.main.maxBytesPerSec = 0;
    plan.frames.assign(contents.streams.size(), RawFrameLayout{});
    for (size_t i = 0; i < contents.streams.size(); ++i) {
        const AviStream& stream = contents.streams[i];
        AviStreamSpec spec = {};
        spec.header = stream.header;
        if (stream.header.type == kVideoStreamType) {
            RawFrameLayout& layout = plan.frames[i];
            if (!RawFrameLayoutOf(stream.format, layout)) {
                return MotionJpegResult::Unsupported;
            }
            const BitmapFormat format = {layout.dib.width, layout.dib.height, 24,
                                         kMotionJpegHandler,
                                         static_cast<uint32_t>(layout.dib.width) *
                                             static_cast<uint32_t>(layout.dib.height) * 3};
            spec.header.handler = kMotionJpegHandler;
            spec.header.sampleSize = 0;
            spec.format = EncodeBitmapFormat(format);
            spec.chunkType[0] = 'd';
            spec.chunkType[1] = 'c';
            plan.main.width = static_cast<uint32_t>(layout.dib.width);
            plan.main.height = static_cast<uint32_t>(layout.dib.height);
        } else {
            spec.format = stream.format;
            if (!ChunkTypeOf(contents, static_cast<int>(i), spec.chunkType)) {
                spec.chunkType[0] = stream.header.type == kAudioStreamType ? 'w' : 'd';
                spec.chunkType[1] = stream.header.type == kAudioStreamType ? 'b' : 'c';
            }
        }
        plan.streams.push_back(spec);
    }
    return MotionJpegResult::Written;
}

MotionJpegResult WriteChunks(const AviByteSource& source, const AviContents& contents,
                             const Plan& plan, AviWriter& writer, CompressProgress progress,
                             void* context) {
    std::vector<unsigned char> bytes;
    std::vector<unsigned char> jpeg;
    int reported = -1;
    const size_t count = contents.chunks.size();
    for (size_t i = 0; i < count; ++i) {
        const AviChunk& chunk = contents.chunks[i];
        if (!ReadAviChunk(source, chunk, bytes)) {
            return MotionJpegResult::Unreadable;
        }
        const size_t stream = static_cast<size_t>(chunk.stream);
        bool written;
        if (contents.streams[stream].header.type == kVideoStreamType) {
            // A frame the capture dropped (or cut short) stays an empty chunk: "no change".
            if (CompressRawFrame(plan.frames[stream], bytes.data(), bytes.size(), jpeg)) {
                written = WriteAviChunk(writer, chunk.stream, jpeg.data(),
                                        static_cast<uint32_t>(jpeg.size()), true);
            } else {
                written = WriteAviChunk(writer, chunk.stream, nullptr, 0, false);
            }
        } else {
            written = WriteAviChunk(writer, chunk.stream, bytes.data(),
                                    static_cast<uint32_t>(bytes.size()), true);
        }
        if (!written) {
            return MotionJpegResult::WriteFailed;
        }
        const int percent = static_cast<int>((i + 1) * 100 / count);
        if (progress != nullptr && percent > reported) {
            reported = percent;
            progress(context, percent);
        }
    }
    return MotionJpegResult::Written;
}

} // namespace

bool RawFrameLayoutOf(const std::vector<unsigned char>& format, RawFrameLayout& layout) {
    layout = RawFrameLayout{};
    BitmapFormat bitmap;
    if (!DecodeBitmapFormat(format, bitmap) || bitmap.compression != kUncompressedRows ||
        !DibBitCountSupported(bitmap.bitCount)) {
        return false;
    }
    const int64_t height = bitmap.height < 0 ? -static_cast<int64_t>(bitmap.height) : bitmap.height;
    if (bitmap.width <= 0 || bitmap.width > kLargestSide || height <= 0 || height > kLargestSide) {
        return false;
    }
    layout.dib.width = bitmap.width;
    layout.dib.height = static_cast<int>(height);
    layout.dib.bitCount = bitmap.bitCount;
    layout.bottomUp = bitmap.height > 0;
    layout.stride = DibRowStride(bitmap.width, bitmap.bitCount);
    if (bitmap.bitCount == 8) {
        const uint32_t headerSize = ReadLittleEndian32(format.data());
        const uint32_t used = ReadLittleEndian32(format.data() + 32);
        const uint32_t entries = used == 0 ? kFullColourMap : used;
        if (entries > kFullColourMap || headerSize > format.size() ||
            (format.size() - headerSize) / 4 < entries) {
            return false;
        }
        layout.dib.palette = format.data() + headerSize;
        layout.dib.paletteEntries = static_cast<int>(entries);
        layout.dib.paletteEntrySize = 4;
    }
    return true;
}

bool CompressRawFrame(const RawFrameLayout& layout, const unsigned char* frame, size_t size,
                      std::vector<unsigned char>& jpeg) {
    if (layout.stride == 0 || size / layout.stride < static_cast<uint64_t>(layout.dib.height)) {
        return false;
    }
    FrameRows rows = {&layout, frame};
    const JpegInput input = {layout.dib.width, layout.dib.height, FrameRow, &rows};
    const JpegOutput output = {nullptr, &jpeg};
    return CompressJpeg(input, output);
}

MotionJpegResult CompressToMotionJpeg(const char* sourcePath, const char* targetPath,
                                      CompressProgress progress, void* context) {
    AviByteSource source;
    if (!OpenAviFileSource(sourcePath, source)) {
        return MotionJpegResult::Unreadable;
    }
    AviContents contents;
    Plan plan;
    MotionJpegResult result = MotionJpegResult::Unreadable;
    if (ReadAviContents(source, contents) == AviReadResult::Ok) {
        result = PlanStreams(contents, plan);
    }
    if (result != MotionJpegResult::Written) {
        return result;
    }
    if (progress != nullptr) {
        progress(context, 0);
    }
    AviWriter writer;
    if (!OpenAviWriter(writer, targetPath, plan.main, plan.streams)) {
        result = MotionJpegResult::WriteFailed;
    } else {
        result = WriteChunks(source, contents, plan, writer, progress, context);
    }
    source.file.reset();
    if (result == MotionJpegResult::Written) {
        if (!CloseAviWriter(writer)) {
            result = MotionJpegResult::WriteFailed;
        }
    } else {
        AbandonAviWriter(writer);
    }
    if (result != MotionJpegResult::Written) {
        std::remove(targetPath);
    }
    return result;
}
