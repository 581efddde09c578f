// AVI files: the writer's exact layout read back by the reader (idx1 included), the reader on
// damaged files, and raw clips compressed to Motion-JPEG: every frame a key frame within 30 dB
// PSNR of its source, the sound copied byte for byte in its place, a dropped frame kept empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/test_bytes.h"
#include "video/avi_reader.h"
#include "video/avi_writer.h"
#include "video/jpeg_check.h"
#include "video/motion_jpeg.h"
#include "video/test_pictures.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

AviStreamSpec VideoStream(uint32_t handler, const std::vector<unsigned char>& format) {
    AviStreamSpec spec = {};
    spec.header.type = kVideoStreamType;
    spec.header.handler = handler;
    spec.header.scale = 100000;
    spec.header.rate = 1000000;
    spec.format = format;
    spec.chunkType[0] = 'd';
    spec.chunkType[1] = handler == 0 ? 'b' : 'c';
    return spec;
}

AviStreamSpec SoundStream() {
    AviStreamSpec spec = {};
    spec.header.type = kAudioStreamType;
    spec.header.scale = 1;
    spec.header.rate = 8000;
    spec.header.sampleSize = 1;
    spec.format = EncodePcmFormat(1, 8000, 8);
    spec.chunkType[0] = 'w';
    spec.chunkType[1] = 'b';
    return spec;
}

AviMainHeader MainHeader() {
    AviMainHeader main = {};
    main.microSecPerFrame = 100000;
    main.flags = kAviHasIndex | kAviIsInterleaved;
    main.width = kWidth;
    main.height = kHeight;
    return main;
}

std::string Sound(int chunk) {
    std::string bytes(800, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(128 + (static_cast<int>(i) * (chunk + 3)) % 90 - 45);
    }
    return bytes;
}

// A raw clip of `frames` 24-bit frames, each followed by 800 bytes of sound; frame
// `dropped` (if any) is an empty chunk, as a capture stores a frame it missed.
void WriteRawClip(const std::string& path, int frames, int dropped = -1) {
    const BitmapFormat format = {kWidth, kHeight, 24, 0, kWidth * kHeight * 3};
    AviWriter writer;
    ASSERT_TRUE(OpenAviWriter(writer, path.c_str(), MainHeader(),
                              {VideoStream(0, EncodeBitmapFormat(format)), SoundStream()}));
    for (int i = 0; i < frames; ++i) {
        const std::string rows =
            i == dropped ? "" : StoredRows24(TestPicture(kWidth, kHeight, i), kWidth, kHeight);
        ASSERT_TRUE(
            WriteAviChunk(writer, 0, rows.data(), static_cast<uint32_t>(rows.size()), true));
        const std::string sound = Sound(i);
        ASSERT_TRUE(WriteAviChunk(writer, 1, sound.data(), 800, true));
    }
    ASSERT_TRUE(CloseAviWriter(writer));
}

AviReadResult ReadBytesAsAvi(const std::string& bytes, AviContents& contents) {
    const AviByteSource source = {
        reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), {}};
    return ReadAviContents(source, contents);
}

std::string ChunkBytes(const std::string& file, const AviChunk& chunk) {
    return file.substr(static_cast<size_t>(chunk.offset), chunk.size);
}

TEST(Avi, TheWriterLaysOutHeadersChunksAndIndexAsTheReaderFindsThem) {
    const std::string path = TempPath("clip.avi");
    AviStreamSpec video = VideoStream(kMotionJpegHandler, {1, 2, 3, 4});
    video.header.language = 9;
    video.header.frame[2] = kWidth;
    video.header.frame[3] = kHeight;
    AviWriter writer;
    ASSERT_TRUE(OpenAviWriter(writer, path.c_str(), MainHeader(), {video, SoundStream()}));
    const std::string frames[] = {"abc", "", "defgh"}; // odd sizes get a pad byte
    for (const std::string& frame : frames) {
        ASSERT_TRUE(WriteAviChunk(writer, 0, frame.data(), static_cast<uint32_t>(frame.size()),
                                  !frame.empty()));
        ASSERT_TRUE(WriteAviChunk(writer, 1, "0123456789", 10, true));
    }
    ASSERT_TRUE(CloseAviWriter(writer));

    const std::string file = ReadBytes(path);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(file.substr(4, 4), U32(static_cast<uint32_t>(file.size() - 8)));
    EXPECT_EQ(file.substr(8, 4), "AVI ");
    AviContents contents;
    ASSERT_EQ(ReadBytesAsAvi(file, contents), AviReadResult::Ok);
    EXPECT_EQ(contents.main.totalFrames, 3u);
    EXPECT_EQ(contents.main.streams, 2u);
    EXPECT_EQ(contents.main.suggestedBufferSize, 10u);
    ASSERT_EQ(contents.streams.size(), 2u);
    EXPECT_EQ(contents.streams[0].header.length, 3u);
    EXPECT_EQ(contents.streams[0].header.suggestedBufferSize, 5u);
    EXPECT_EQ(contents.streams[0].format, std::vector<unsigned char>({1, 2, 3, 4}));
    EXPECT_EQ(contents.streams[1].header.length, 30u) << "bytes of 8-bit mono";
    EXPECT_EQ(contents.streams[0].header.language, 9);
    EXPECT_EQ(contents.streams[0].header.frame[3], kHeight);
    EXPECT_EQ(contents.main.width, static_cast<uint32_t>(kWidth));
    EXPECT_EQ(contents.main.height, static_cast<uint32_t>(kHeight));

    // The headers' fields where players look for them.
    const size_t avih = file.find("avih") + 8;
    EXPECT_EQ(file.substr(avih, 4), U32(100000)) << "microseconds a frame";
    EXPECT_EQ(file.substr(avih + 16, 4), U32(3)) << "frames";
    EXPECT_EQ(file.substr(avih + 24, 4), U32(2)) << "streams";
    EXPECT_EQ(file.substr(avih + 32, 8), U32(kWidth) + U32(kHeight));
    const size_t strh = file.find("strh") + 8;
    EXPECT_EQ(file.substr(strh, 8), "vidsMJPG");
    EXPECT_EQ(file.substr(strh + 14, 2), U16(9)) << "language";
    EXPECT_EQ(file.substr(strh + 20, 16), U32(100000) + U32(1000000) + U32(0) + U32(3));
    EXPECT_EQ(file.substr(strh + 48, 8), U16(0) + U16(0) + U16(kWidth) + U16(kHeight));
    const size_t wave = file.rfind("strf") + 8;
    EXPECT_EQ(file.substr(wave, 16), U16(1) + U16(1) + U32(8000) + U32(8000) + U16(1) + U16(8))
        << "PCM, mono, 8 bits";
    ASSERT_EQ(contents.chunks.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(ChunkBytes(file, contents.chunks[i]), i % 2 ? "0123456789" : frames[i / 2]);
    }

    // idx1 at the end: one entry a chunk, its offset counted from the 'movi' list type.
    const size_t movi = file.find("movi");
    const size_t index = file.rfind("idx1");
    ASSERT_EQ(file.size() - index, 8u + 6 * 16);
    for (size_t i = 0; i < 6; ++i) {
        const std::string entry = file.substr(index + 8 + 16 * i, 16);
        const AviChunk& chunk = contents.chunks[i];
        EXPECT_EQ(entry.substr(0, 4), i % 2 ? "01wb" : "00dc");
        EXPECT_EQ(entry.substr(4, 4), U32(i == 2 ? 0 : kAviKeyFrame)) << i;
        EXPECT_EQ(entry.substr(8, 4), U32(static_cast<uint32_t>(chunk.offset - 8 - movi)));
        EXPECT_EQ(entry.substr(12, 4), U32(chunk.size));
    }
}

TEST(Avi, DamagedFilesAreRefusedWithTheirReason) {
    const std::string path = TempPath("raw.avi");
    WriteRawClip(path, 2);
    const std::string valid = ReadBytes(path);
    const size_t hdrl = valid.find("hdrl");
    const size_t strf = valid.find("strf");
    const size_t movi = valid.find("movi");
    auto with = [&](size_t at, const std::string& bytes) {
        return valid.substr(0, at) + bytes + valid.substr(at + bytes.size());
    };
    const struct {
        const char* what;
        std::string bytes;
        AviReadResult result;
    } cases[] = {
        {"empty", "", AviReadResult::NotAvi},
        {"a WAVE file", with(8, "WAVE"), AviReadResult::NotAvi},
        {"RIFF size past the end", with(4, U32(static_cast<uint32_t>(valid.size()))),
         AviReadResult::Damaged},
        {"RIFF size 2", with(4, U32(2)), AviReadResult::Damaged},
        {"cut inside the headers", valid.substr(0, strf), AviReadResult::Damaged},
        {"header list size past its parent", with(hdrl - 4, U32(0x7FFFFFF0)),
         AviReadResult::Damaged},
        {"stream format size past its list", with(strf + 4, U32(5000)), AviReadResult::Damaged},
        {"stream format of 1 MB", with(strf + 4, U32(1 << 20)), AviReadResult::Damaged},
        {"main header of 20 bytes", with(valid.find("avih") + 4, U32(20)), AviReadResult::Damaged},
        {"stream header of 4 bytes", with(valid.find("strh") + 4, U32(4)), AviReadResult::Damaged},
        {"no header list", with(hdrl, "junk"), AviReadResult::NoStreams},
        {"no movi list", with(movi, "junk"), AviReadResult::NoMovie},
        {"frame size past the movie", with(movi + 8, U32(0x10000000)), AviReadResult::Damaged},
    };
    for (const auto& c : cases) {
        AviContents contents;
        EXPECT_EQ(ReadBytesAsAvi(c.bytes, contents), c.result) << c.what;
    }
    // A damaged index behind the movie costs nothing.
    AviContents contents;
    EXPECT_EQ(ReadBytesAsAvi(with(valid.rfind("idx1") + 4, U32(0xFFFFFF)), contents),
              AviReadResult::Ok);
    EXPECT_EQ(contents.chunks.size(), 4u);
}

TEST(Avi, FramesAreFoundInsideRecListsAndEverythingElseIsPassedOver) {
    const std::string strl = Chunk("LIST", "strl" + Chunk("strh", "vids" + std::string(52, '\0')) +
                                               Chunk("strf", "fmt"));
    const std::string header = Chunk("LIST", "hdrl" + Chunk("avih", std::string(56, '\0')) + strl);
    const std::string movie =
        Chunk("LIST", "movi" + Chunk("00dc", "one") + Chunk("JUNK", "xx") + Chunk("ix00", "idx") +
                          Chunk("LIST", "rec " + Chunk("00dc", "two") + Chunk("01wb", "no stream") +
                                            Chunk("LIST", "rec " + Chunk("00dc", "nested"))) +
                          Chunk("0aXX", "") + Chunk("00dc", "three"));
    const std::string file = Chunk("RIFF", "AVI " + header + movie + Chunk("idx1", ""));
    AviContents contents;
    ASSERT_EQ(ReadBytesAsAvi(file, contents), AviReadResult::Ok);
    std::vector<std::string> frames;
    for (const AviChunk& chunk : contents.chunks) {
        frames.push_back(ChunkBytes(file, chunk));
    }
    EXPECT_EQ(frames, std::vector<std::string>({"one", "two", "three"}));
    EXPECT_EQ(contents.streams[0].format, std::vector<unsigned char>({'f', 'm', 't'}));
    const AviByteSource source = {
        reinterpret_cast<const unsigned char*>(file.data()), file.size(), {}};
    std::vector<unsigned char> bytes;
    EXPECT_FALSE(ReadAviChunk(source, {0, 0, file.size() - 2, 3}, bytes)) << "past the end";
}

void NoteProgress(void* context, int percent) {
    static_cast<std::vector<int>*>(context)->push_back(percent);
}

TEST(Avi, RawClipsBecomeMotionJpegKeyFramesWithTheSoundInPlace) {
    const std::string raw = TempPath("raw.avi");
    const std::string mjpeg = TempPath("videomsg.avi");
    WriteRawClip(raw, 12, 5);
    std::vector<int> progress;
    ASSERT_EQ(CompressToMotionJpeg(raw.c_str(), mjpeg.c_str(), NoteProgress, &progress),
              MotionJpegResult::Written);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

    const std::string file = ReadBytes(mjpeg);
    AviContents contents;
    ASSERT_EQ(ReadBytesAsAvi(file, contents), AviReadResult::Ok);
    EXPECT_EQ(contents.main.totalFrames, 12u);
    EXPECT_EQ(contents.main.microSecPerFrame, 100000u);
    EXPECT_EQ(contents.main.width, static_cast<uint32_t>(kWidth));
    ASSERT_EQ(contents.streams.size(), 2u);
    EXPECT_EQ(contents.streams[0].header.handler, kMotionJpegHandler);
    EXPECT_EQ(contents.streams[0].header.rate, 1000000u);
    BitmapFormat format;
    ASSERT_TRUE(DecodeBitmapFormat(contents.streams[0].format, format));
    EXPECT_EQ(format.compression, kMotionJpegHandler);
    EXPECT_EQ(format.width, kWidth);
    EXPECT_EQ(format.height, kHeight);
    EXPECT_EQ(contents.streams[1].format, EncodePcmFormat(1, 8000, 8));
    EXPECT_EQ(contents.streams[1].header.length, 12u * 800);
    ASSERT_EQ(contents.chunks.size(), 24u);
    const size_t index = file.rfind("idx1") + 8;
    for (int i = 0; i < 12; ++i) {
        const AviChunk& frame = contents.chunks[2 * i];
        EXPECT_EQ(ChunkBytes(file, contents.chunks[2 * i + 1]), Sound(i)) << i;
        EXPECT_EQ(file.substr(index + 32 * i + 4, 4), U32(i == 5 ? 0 : kAviKeyFrame)) << i;
        if (i == 5) {
            EXPECT_EQ(frame.size, 0u);
            continue;
        }
        DecodedJpeg decoded;
        ASSERT_TRUE(DecodeJpeg(ChunkBytes(file, frame), decoded)) << i;
        EXPECT_GE(Psnr(decoded.rgb, TestPicture(kWidth, kHeight, i)), 30.0) << i;
        EXPECT_EQ(ReadJpegMarkers(ChunkBytes(file, frame)).sampling,
                  std::vector<int>({0x22, 0x11, 0x11}));
    }
}

TEST(Avi, ClipsTheCompressorCannotWriteAreNamed) {
    const std::string raw = TempPath("raw.avi");
    const std::string target = TempPath("out.avi");
    std::remove(target.c_str());
    WriteRawClip(raw, 2);
    EXPECT_EQ(
        CompressToMotionJpeg(raw.c_str(), (target + "/missing/x.avi").c_str(), nullptr, nullptr),
        MotionJpegResult::WriteFailed);
    EXPECT_EQ(CompressToMotionJpeg((raw + "-none").c_str(), target.c_str(), nullptr, nullptr),
              MotionJpegResult::Unreadable);
    WriteBytes(raw, ReadBytes(raw).substr(0, 300));
    EXPECT_EQ(CompressToMotionJpeg(raw.c_str(), target.c_str(), nullptr, nullptr),
              MotionJpegResult::Unreadable);

    // Video formats it does not read: already compressed, 4 bits, a colour map cut short.
    const std::vector<unsigned char> mjpeg =
        EncodeBitmapFormat({kWidth, kHeight, 24, kMotionJpegHandler, 0});
    const std::vector<unsigned char> fourBits = EncodeBitmapFormat({kWidth, kHeight, 4, 0, 0});
    std::vector<unsigned char> shortMap = EncodeBitmapFormat({kWidth, kHeight, 8, 0, 0});
    shortMap.resize(40 + 4 * 255);
    for (const auto& format : {mjpeg, fourBits, shortMap}) {
        AviWriter writer;
        ASSERT_TRUE(OpenAviWriter(writer, raw.c_str(), MainHeader(), {VideoStream(0, format)}));
        ASSERT_TRUE(WriteAviChunk(writer, 0, "x", 1, true));
        ASSERT_TRUE(CloseAviWriter(writer));
        EXPECT_EQ(CompressToMotionJpeg(raw.c_str(), target.c_str(), nullptr, nullptr),
                  MotionJpegResult::Unsupported);
    }
    std::FILE* left = std::fopen(target.c_str(), "rb");
    EXPECT_EQ(left, nullptr) << "nothing is left behind";
    if (left != nullptr) {
        std::fclose(left);
    }
}

TEST(Avi, EightBitFramesAreReadThroughTheirColourMap) {
    std::vector<unsigned char> format = EncodeBitmapFormat({16, 16, 8, 0, 0});
    WriteLittleEndian32(format.data() + 32, 2); // two colours: red, blue
    const unsigned char colours[] = {0, 0, 255, 0, 255, 0, 0, 0};
    format.insert(format.end(), colours, colours + 8);
    RawFrameLayout layout;
    ASSERT_TRUE(RawFrameLayoutOf(format, layout));
    std::vector<unsigned char> frame(256, 0); // bottom-up: the first 8 rows are the lower half
    std::fill(frame.begin() + 128, frame.end(), 1);
    std::vector<unsigned char> jpeg;
    ASSERT_TRUE(CompressRawFrame(layout, frame.data(), frame.size(), jpeg));
    DecodedJpeg decoded;
    ASSERT_TRUE(DecodeJpeg(std::string(jpeg.begin(), jpeg.end()), decoded));
    const unsigned char* topLeft = &decoded.rgb[0];
    const unsigned char* bottomLeft = &decoded.rgb[15 * 16 * 3];
    EXPECT_GT(topLeft[2], 200);
    EXPECT_LT(topLeft[0], 60);
    EXPECT_GT(bottomLeft[0], 200);
    EXPECT_LT(bottomLeft[2], 60);
    frame[3] = 2;
    EXPECT_FALSE(CompressRawFrame(layout, frame.data(), frame.size(), jpeg))
        << "index 2 is past the map";
    frame.resize(255);
    EXPECT_FALSE(CompressRawFrame(layout, frame.data(), frame.size(), jpeg)) << "one byte short";
}

TEST(Avi, FramesUpTo65500PixelsASideAreRead) {
    const struct {
        int32_t width;
        int32_t height;
        bool read;
    } cases[] = {{65500, 1, true},  {1, -65500, true}, {65501, 1, false},
                 {1, 65501, false}, {0, 1, false},     {1, 0, false}};
    for (const auto& c : cases) {
        RawFrameLayout layout;
        EXPECT_EQ(RawFrameLayoutOf(EncodeBitmapFormat({c.width, c.height, 24, 0, 0}), layout),
                  c.read)
            << c.width << " x " << c.height;
    }
}

} // namespace
