// Converting a WAV file step by step: the destination's chunks, the source bytes a codec did
// not take, the two passes, cancel and failure, with a codec of the test's own.
#include <gtest/gtest.h>

#include "support/test_bytes.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/wave_conversion.h"

namespace {

// A destination format of the test codec: tag 0x7777 with two extra bytes.
std::string CodecFormat() {
    return U16(0x7777) + U16(1) + U32(8000) + U32(8000) + U16(1) + U16(8) + U16(2) + "xy";
}

std::string Scrambled(const std::string& bytes) {
    std::string out = bytes;
    for (char& c : out) {
        c = static_cast<char>(c ^ 0x5A);
    }
    return out;
}

// The test codec: each byte it takes comes out XOR 0x5A. It takes at most `take` bytes of a
// step without the end flag (all of them otherwise), and gives nothing out for the step
// numbered `silentStep`, as a codec that holds bytes back would.
struct TestCodec {
    uint32_t take = 0xFFFFFFFF;
    int silentStep = -1;
    int failStep = -1;
    int steps = 0;
    int opened = 0;
    int closed = 0;
    uint32_t bufferSize = 0;
    std::vector<uint32_t> lengths;
    std::vector<uint32_t> flags;
    std::string held;
};

int OpenTest(void* context, const unsigned char*, uint32_t, const unsigned char*, uint32_t,
             uint32_t readSize, uint32_t* destinationBufferSize) {
    auto& codec = *static_cast<TestCodec*>(context);
    ++codec.opened;
    *destinationBufferSize = 2 * readSize; // room for one held-back step and the next
    return 1;
}

int PrepareTest(void* context, unsigned char*, uint32_t, unsigned char*, uint32_t size) {
    static_cast<TestCodec*>(context)->bufferSize = size;
    return 1;
}

int ConvertTest(void* context, ConvertStep& step) {
    auto& codec = *static_cast<TestCodec*>(context);
    const int number = codec.steps++;
    codec.lengths.push_back(step.sourceLength);
    codec.flags.push_back(step.flags);
    if (number == codec.failStep) {
        return 0;
    }
    uint32_t taken = step.sourceLength;
    if (!(step.flags & kConvertEnd) && taken > codec.take) {
        taken = codec.take;
    }
    codec.held += Scrambled(std::string(reinterpret_cast<const char*>(step.source), taken));
    step.sourceUsed = taken;
    if (number == codec.silentStep) {
        return 1;
    }
    std::memcpy(step.destination, codec.held.data(), codec.held.size());
    step.destinationUsed = static_cast<uint32_t>(codec.held.size());
    codec.held.clear();
    return 1;
}

void CloseTest(void* context) {
    ++static_cast<TestCodec*>(context)->closed;
}

struct TestDialog {
    std::vector<std::string> titles;
    int pumps = 0;
    int cancelAtPump = -1;
    bool cancelInCleanup = false;
    uint32_t lastDone = 0;
};

int PumpTest(void* context) {
    auto& dialog = *static_cast<TestDialog*>(context);
    const int number = dialog.pumps++;
    if (number == dialog.cancelAtPump) {
        return 1;
    }
    return dialog.cancelInCleanup && !dialog.titles.empty() &&
                   dialog.titles.back().rfind("Cleanup", 0) == 0
               ? 1
               : 0;
}

void ShowTest(void* context, uint32_t done, uint32_t, const char* title) {
    auto& dialog = *static_cast<TestDialog*>(context);
    dialog.lastDone = done;
    if (title != nullptr) {
        dialog.titles.push_back(title);
    }
}

struct Conversion {
    std::string format = PcmFormat(8000, 8000, 1, 8);
    std::string destinationFormat = CodecFormat();
    ConversionJob job = {};
    TestCodec codec;
    TestDialog dialog;
    std::string destination;

    // Sets the job up as the compressor does for a source file with this much sound.
    void Prepare(const std::string& sourcePath, uint32_t dataSize, uint32_t sampleCount) {
        destination = TempPath("out.wav");
        std::snprintf(job.sourcePath, sizeof job.sourcePath, "%s", sourcePath.c_str());
        std::snprintf(job.destinationPath, sizeof job.destinationPath, "%s", destination.c_str());
        job.sourceFormat = reinterpret_cast<const unsigned char*>(format.data());
        job.sourceFormatSize = static_cast<uint32_t>(format.size());
        job.sampleCount = sampleCount;
        job.sourceDataSize = dataSize;
        job.readSize = ConversionReadSize(ReadWaveFormat(job.sourceFormat, job.sourceFormatSize));
        job.destinationFormat = reinterpret_cast<const unsigned char*>(destinationFormat.data());
        job.destinationFormatSize = static_cast<uint32_t>(destinationFormat.size());
        job.converter = {&codec, OpenTest, PrepareTest, ConvertTest, CloseTest};
    }

    ConversionResult Run() {
        if (!OpenConversion(job)) {
            return ConversionResult::Failed;
        }
        ConversionProgress progress = {&dialog, PumpTest, ShowTest};
        ConversionResult result = RunConversionLoop(job, progress);
        CloseConversion(job);
        return result;
    }
};

// The converted file as it must be: the copied chunks, fmt, fact and data.
std::string Expected(const std::string& copied, uint32_t sampleCount, const std::string& data) {
    return RiffWave(copied + Chunk("fmt ", CodecFormat()) + Chunk("fact", U32(sampleCount)) +
                    Chunk("data", data));
}

TEST(WaveConversion, ReadSizeIsOneSecondInWholeBlocks) {
    WaveFormatFields format = {};
    format.avgBytesPerSec = 8000;
    format.blockAlign = 1;
    EXPECT_EQ(ConversionReadSize(format), 8000u);
    format.avgBytesPerSec = 16000;
    EXPECT_EQ(ConversionReadSize(format), 16000u); // 16 kHz 8-bit
    format.blockAlign = 2;
    EXPECT_EQ(ConversionReadSize(format), 16000u); // 8 kHz 16-bit
    format.avgBytesPerSec = 44101;
    format.blockAlign = 4;
    EXPECT_EQ(ConversionReadSize(format), 44100u);
    format.blockAlign = 0;
    EXPECT_EQ(ConversionReadSize(format), 0u);
}

TEST(WaveConversion, DisplayChunksAreCopiedAheadOfTheFormatAndEverythingElseIsLeft) {
    const std::string sound = Pattern(20001);
    const std::string disp = Chunk("DISP", "\x01\x00\x00\x00title");
    const std::string plst = Chunk("plst", U32(0));
    const std::string source =
        RiffWave(disp + Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) + Chunk("LIST", "INFOxxxx") +
                 plst + Chunk("fact", U32(20001)) + Chunk("data", sound));
    WriteBytes(TempPath("in.wav"), source);
    Conversion conversion;
    conversion.Prepare(TempPath("in.wav"), 20001, 20001);
    EXPECT_EQ(conversion.Run(), ConversionResult::Done);
    EXPECT_EQ(ReadBytes(conversion.destination), Expected(disp + plst, 20001, Scrambled(sound)));
    EXPECT_EQ(conversion.codec.opened, 1);
    EXPECT_EQ(conversion.codec.closed, 1);
    // One second a step, the last one short; then the cleanup pass with the end flag.
    EXPECT_EQ(conversion.codec.lengths, (std::vector<uint32_t>{8000, 8000, 4001, 0, 0}));
    EXPECT_EQ(conversion.codec.flags[0], kConvertBlockAlign);
    EXPECT_EQ(conversion.codec.flags[3], kConvertBlockAlign | kConvertEnd);
    EXPECT_EQ(conversion.codec.flags[4], kConvertEnd);
    EXPECT_EQ(conversion.dialog.titles,
              (std::vector<std::string>{"compressing... 0%", "compressing... 39%",
                                        "compressing... 79%", "Cleanup Pass -- 100%"}));
}

TEST(WaveConversion, BytesTheCodecLeavesAreReadAgain) {
    const std::string sound = Pattern(20000);
    WriteBytes(TempPath("in.wav"), RiffWave(Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) +
                                            Chunk("data", sound) + Chunk("junk", "tail")));
    Conversion conversion;
    conversion.Prepare(TempPath("in.wav"), 20000, 20000);
    conversion.codec.take = 7000;
    EXPECT_EQ(conversion.Run(), ConversionResult::Done);
    // Every source byte comes out once, in order; the reads start at the first byte left.
    EXPECT_EQ(ReadBytes(conversion.destination), Expected("", 20000, Scrambled(sound)));
    EXPECT_EQ(conversion.codec.lengths, (std::vector<uint32_t>{8000, 8000, 6000, 0, 0}));
}

TEST(WaveConversion, ACodecHoldingBytesBackIsEmptiedByTheCleanupPass) {
    const std::string sound = Pattern(30000);
    WriteBytes(TempPath("in.wav"),
               RiffWave(Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) + Chunk("data", sound)));
    Conversion conversion;
    conversion.Prepare(TempPath("in.wav"), 30000, 30000);
    conversion.codec.silentStep = 1; // the second second gives nothing: the main pass ends
    EXPECT_EQ(conversion.Run(), ConversionResult::Done);
    EXPECT_EQ(ReadBytes(conversion.destination), Expected("", 30000, Scrambled(sound)));
    EXPECT_EQ(conversion.codec.lengths, (std::vector<uint32_t>{8000, 8000, 8000, 6000, 0, 0}));
    EXPECT_EQ(conversion.codec.flags[2], kConvertBlockAlign | kConvertEnd);
}

TEST(WaveConversion, EmptyDataRunsNoPassAndStillWritesTheChunks) {
    WriteBytes(TempPath("in.wav"),
               RiffWave(Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) + Chunk("data", "")));
    Conversion conversion;
    conversion.Prepare(TempPath("in.wav"), 0, 0);
    EXPECT_EQ(conversion.Run(), ConversionResult::Done);
    EXPECT_EQ(ReadBytes(conversion.destination), Expected("", 0, ""));
    EXPECT_EQ(conversion.codec.steps, 0);
    EXPECT_EQ(conversion.codec.closed, 1);
}

TEST(WaveConversion, TheSoundIsTakenFromTheFirstDataChunkThatHoldsAny) {
    const std::string sound = Pattern(999);
    WriteBytes(TempPath("in.wav"),
               RiffWave(Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) + Chunk("data", "") +
                        Chunk("data", sound) + Chunk("data", "later")));
    Conversion conversion;
    conversion.Prepare(TempPath("in.wav"), 999, 999);
    EXPECT_EQ(conversion.Run(), ConversionResult::Done);
    EXPECT_EQ(ReadBytes(conversion.destination), Expected("", 999, Scrambled(sound)));
}

TEST(WaveConversion, CancelAndFailureStopWithTheSizesWritten) {
    const std::string sound = Pattern(24000);
    WriteBytes(TempPath("in.wav"),
               RiffWave(Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) + Chunk("data", sound)));

    Conversion early;
    early.Prepare(TempPath("in.wav"), 24000, 24000);
    early.dialog.cancelAtPump = 3; // the first pump of the second step
    EXPECT_EQ(early.Run(), ConversionResult::Cancelled);
    EXPECT_EQ(ReadBytes(early.destination), Expected("", 24000, Scrambled(sound.substr(0, 8000))));
    EXPECT_EQ(early.codec.closed, 1);

    Conversion cleanup;
    cleanup.Prepare(TempPath("in.wav"), 24000, 24000);
    cleanup.dialog.cancelInCleanup = true;
    EXPECT_EQ(cleanup.Run(), ConversionResult::Cancelled);
    EXPECT_EQ(cleanup.dialog.titles.back(), "Cleanup Pass -- 100%");
    EXPECT_EQ(ReadBytes(cleanup.destination), Expected("", 24000, Scrambled(sound)));

    Conversion failing;
    failing.Prepare(TempPath("in.wav"), 24000, 24000);
    failing.codec.failStep = 2;
    EXPECT_EQ(failing.Run(), ConversionResult::Failed);
    EXPECT_EQ(ReadBytes(failing.destination),
              Expected("", 24000, Scrambled(sound.substr(0, 16000))));
}

TEST(WaveConversion, AFramesOnlyDestinationHoldsTheConvertedBytesAloneAlsoAfterCancel) {
    const std::string sound = Pattern(20001);
    const std::string disp = Chunk("DISP", "\x01\x00\x00\x00title");
    WriteBytes(TempPath("in.wav"), RiffWave(disp + Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) +
                                            Chunk("fact", U32(20001)) + Chunk("data", sound)));
    WriteBytes(TempPath("out.wav"), Pattern(90000)); // an older, longer file is replaced

    Conversion whole;
    whole.job.output = ConversionOutput::FramesOnly;
    whole.Prepare(TempPath("in.wav"), 20001, 20001);
    whole.codec.take = 7000;
    EXPECT_EQ(whole.Run(), ConversionResult::Done);
    EXPECT_EQ(ReadBytes(whole.destination), Scrambled(sound));
    EXPECT_EQ(whole.codec.closed, 1);

    Conversion early;
    early.job.output = ConversionOutput::FramesOnly;
    early.Prepare(TempPath("in.wav"), 20001, 20001);
    early.dialog.cancelAtPump = 3;
    EXPECT_EQ(early.Run(), ConversionResult::Cancelled);
    EXPECT_EQ(ReadBytes(early.destination), Scrambled(sound.substr(0, 8000)));

    Conversion cleanup;
    cleanup.job.output = ConversionOutput::FramesOnly;
    cleanup.Prepare(TempPath("in.wav"), 20001, 20001);
    cleanup.codec.silentStep = 2; // the last 4001 bytes are held back until the end flag
    cleanup.dialog.cancelInCleanup = true;
    EXPECT_EQ(cleanup.Run(), ConversionResult::Cancelled);
    EXPECT_EQ(cleanup.dialog.titles.back(), "Cleanup Pass -- 100%");
    EXPECT_EQ(ReadBytes(cleanup.destination), Scrambled(sound.substr(0, 16000)));
    EXPECT_EQ(cleanup.job.destinationFile.file.get(), nullptr);
}

TEST(WaveConversion, ASourceChunkBeyondTheFormOrAMissingSourceIsRefused) {
    // The plst chunk claims more bytes than the RIFF form holds.
    std::string source = RiffWave(Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) +
                                  Chunk("data", Pattern(100)) + "plst" + U32(5000) + "abcd");
    WriteBytes(TempPath("in.wav"), source);
    Conversion beyond;
    beyond.Prepare(TempPath("in.wav"), 100, 100);
    EXPECT_EQ(OpenConversion(beyond.job), 0);
    EXPECT_EQ(beyond.codec.closed, 1);
    EXPECT_EQ(beyond.job.sourceBuffer, nullptr);
    EXPECT_EQ(beyond.job.sourceFile.file.get(), nullptr);
    EXPECT_EQ(beyond.job.destinationFile.file.get(), nullptr);

    Conversion missing;
    missing.Prepare(TempPath("missing.wav"), 100, 100);
    EXPECT_EQ(OpenConversion(missing.job), 0);
    EXPECT_EQ(missing.codec.closed, 1);
    EXPECT_EQ(missing.codec.bufferSize, 0u) << "nothing was prepared";
}

} // namespace
