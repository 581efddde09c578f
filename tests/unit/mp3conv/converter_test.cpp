// kto2mp3's command line, the MP3 format each quality digit selects, and its own encoder run
// through the conversion steps into MPEG Layer-3 frames of that format.
#include <gtest/gtest.h>

#include "support/test_bytes.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/wave_conversion.h"
#include "mp3conv/converter_command.h"
#include "mp3conv/lame_converter.h"
#include "mp3_frames.h"

namespace {

TEST(ConverterCommand, TheDigitSelectsTheFormatAndTheRestIsTheName) {
    ConverterRequest request;
    ASSERT_EQ(ParseConverterCommandLine("0voicemsg.mp3", request), 1);
    EXPECT_EQ(request.quality, '0');
    EXPECT_STREQ(request.outputName, "voicemsg.mp3");
    ASSERT_EQ(ParseConverterCommandLine("  1note.mp3", request), 1);
    EXPECT_EQ(request.quality, '1');
    EXPECT_STREQ(request.outputName, "note.mp3");
    ASSERT_EQ(ParseConverterCommandLine("7my note.mp3 ", request), 1);
    EXPECT_STREQ(request.outputName, "my note.mp3 ");

    EXPECT_EQ(ParseConverterCommandLine("", request), 0);
    EXPECT_EQ(ParseConverterCommandLine("   ", request), 0);
    EXPECT_EQ(ParseConverterCommandLine("0", request), 0);
    EXPECT_EQ(ParseConverterCommandLine(nullptr, request), 0);

    const std::string longName = "0" + std::string(1500, 'n');
    ASSERT_EQ(ParseConverterCommandLine(longName.c_str(), request), 1);
    EXPECT_EQ(std::string(request.outputName), std::string(1023, 'n'));

    EXPECT_EQ(Mp3DestinationFor('0').samplesPerSec, 16000u);
    EXPECT_EQ(Mp3DestinationFor('0').avgBytesPerSec, 2000u);
    for (char other : {'1', '7', 'x'}) {
        EXPECT_EQ(Mp3DestinationFor(other).samplesPerSec, 8000u);
        EXPECT_EQ(Mp3DestinationFor(other).avgBytesPerSec, 1000u);
    }
}

TEST(ConverterCommand, FormatsAndTheProgramDirectory) {
    unsigned char block[kMp3WaveFormatSize];
    BuildMp3WaveFormat(block, Mp3DestinationFor('0'));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), sizeof block),
              U16(85) + U16(1) + U32(16000) + U32(2000) + U16(1) + U16(0) + U16(12) + U16(1) +
                  U32(2) + U16(72) + U16(1) + U16(1393));

    // A codec's own format keeps everything but the channels and the two rates.
    unsigned char listed[30];
    for (unsigned i = 0; i < sizeof listed; ++i) {
        listed[i] = static_cast<unsigned char>(0xA0 + i);
    }
    const std::string before(reinterpret_cast<char*>(listed), sizeof listed);
    ApplyMp3Destination(listed, Mp3DestinationFor('1'));
    const std::string after(reinterpret_cast<char*>(listed), sizeof listed);
    EXPECT_EQ(after, before.substr(0, 2) + U16(1) + U32(8000) + U32(1000) + before.substr(12));

    char directory[32];
    ASSERT_EQ(DirectoryOfModule("C:\\Kestro\\kto2mp3.exe", directory, sizeof directory), 1);
    EXPECT_STREQ(directory, "C:\\Kestro\\");
    EXPECT_EQ(DirectoryOfModule("kto2mp3.exe", directory, sizeof directory), 0);
    EXPECT_EQ(DirectoryOfModule("C:\\a very long folder name indeed\\kto2mp3.exe", directory,
                                sizeof directory),
              0);
}

// A tone as tempwave.wav holds it: 8-bit unsigned or 16-bit signed mono.
std::string Tone(uint32_t rate, int bits, double seconds) {
    std::string bytes;
    const int count = static_cast<int>(rate * seconds);
    for (int i = 0; i < count; ++i) {
        const double value = std::sin(2 * 3.14159265358979 * 440.0 * i / rate) * 0.5;
        if (bits == 8) {
            bytes += static_cast<char>(static_cast<int>(128 + value * 127));
        } else {
            bytes += U16(static_cast<uint16_t>(static_cast<int16_t>(value * 32767)));
        }
    }
    return bytes;
}

struct Encoded {
    ConversionResult result;
    std::string file;
};

Encoded EncodeTone(char quality, uint32_t rate, int bits, double seconds) {
    const uint16_t align = static_cast<uint16_t>(bits / 8);
    const std::string format = U16(1) + U16(1) + U32(rate) + U32(rate * align) + U16(align) +
                               U16(static_cast<uint16_t>(bits)) + U16(0);
    const std::string sound = Tone(rate, bits, seconds);
    const std::string source = TempPath("tempwave.wav");
    std::ofstream(source, std::ios::binary)
        << "RIFF" << U32(static_cast<uint32_t>(4 + 8 + format.size() + 8 + sound.size())) << "WAVE"
        << "fmt " << U32(static_cast<uint32_t>(format.size())) << format << "data"
        << U32(static_cast<uint32_t>(sound.size())) << sound;

    unsigned char destination[kMp3WaveFormatSize];
    BuildMp3WaveFormat(destination, Mp3DestinationFor(quality));
    LameConverter lame;
    ConversionJob job = {};
    std::snprintf(job.sourcePath, sizeof job.sourcePath, "%s", source.c_str());
    const std::string output = TempPath("voicemsg.mp3");
    std::snprintf(job.destinationPath, sizeof job.destinationPath, "%s", output.c_str());
    job.sourceFormat = reinterpret_cast<const unsigned char*>(format.data());
    job.sourceFormatSize = static_cast<uint32_t>(format.size());
    job.sampleCount = static_cast<uint32_t>(sound.size() / align);
    job.sourceDataSize = static_cast<uint32_t>(sound.size());
    job.readSize = ConversionReadSize(ReadWaveFormat(job.sourceFormat, job.sourceFormatSize));
    job.destinationFormat = destination;
    job.destinationFormatSize = sizeof destination;
    job.converter = LameStreamConverter(lame);
    job.output = ConversionOutput::FramesOnly;
    Encoded encoded = {ConversionResult::Failed, ""};
    if (OpenConversion(job)) {
        encoded.result = RunConversionLoop(job, ConversionProgress{});
        CloseConversion(job);
    }
    encoded.file = ReadBytes(output);
    return encoded;
}

TEST(ConverterEncoder, TheQualityDigitGivesTheFramesOfItsRate) {
    // 2.5 s at 16 kHz and 3 s at 8 kHz in 576-sample frames, with the encoder's delay and the
    // flushed end; a tenth of a second gives no frame in the main pass, the end brings them out.
    const struct {
        char quality;
        uint32_t rate;
        int bits;
        double seconds;
        size_t least, most;
        int version, kbit;
    } cases[] = {{'0', 16000, 8, 2.5, 70, 76, 2, 16},
                 {'1', 8000, 16, 3.0, 42, 48, 25, 8},
                 {'1', 8000, 16, 0.1, 2, 6, 25, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        Encoded encoded = EncodeTone(c.quality, c.rate, c.bits, c.seconds);
        ASSERT_EQ(encoded.result, ConversionResult::Done);
        // The file is the frames alone, from its first byte to its last: no container.
        std::vector<Mp3Frame> frames;
        ASSERT_TRUE(ReadMp3Frames(encoded.file, frames));
        EXPECT_GE(frames.size(), c.least);
        EXPECT_LE(frames.size(), c.most);
        for (const Mp3Frame& frame : frames) {
            EXPECT_EQ(frame.version, c.version);
            EXPECT_EQ(frame.layer, 3);
            EXPECT_EQ(frame.kbitPerSecond, c.kbit);
            EXPECT_EQ(frame.sampleRate, static_cast<int>(c.rate));
            EXPECT_TRUE(frame.mono);
            EXPECT_EQ(frame.length, 72);
        }
    }
}

TEST(ConverterEncoder, OnlyMonoPcmToMonoMp3IsTaken) {
    LameConverter lame;
    StreamConverter converter = LameStreamConverter(lame);
    unsigned char mp3[kMp3WaveFormatSize];
    BuildMp3WaveFormat(mp3, Mp3DestinationFor('0'));
    const std::string gsm = U16(49) + U16(1) + U32(8000) + U32(1625) + U16(65) + U16(0) + U16(0);
    uint32_t size = 0;
    EXPECT_EQ(converter.open(converter.context, reinterpret_cast<const unsigned char*>(gsm.data()),
                             18, mp3, sizeof mp3, 1625, &size),
              0);
    converter.close(converter.context);
    const std::string pcm = U16(1) + U16(1) + U32(16000) + U32(16000) + U16(1) + U16(8) + U16(0);
    EXPECT_EQ(converter.open(converter.context, reinterpret_cast<const unsigned char*>(pcm.data()),
                             18, reinterpret_cast<const unsigned char*>(pcm.data()), 18, 16000,
                             &size),
              0);
    converter.close(converter.context);
    ASSERT_EQ(converter.open(converter.context, reinterpret_cast<const unsigned char*>(pcm.data()),
                             18, mp3, sizeof mp3, 16000, &size),
              1);
    EXPECT_EQ(size, 16000u + 4000u + 7200u);
    converter.close(converter.context);
    EXPECT_EQ(lame.encoder, nullptr);
}

} // namespace
