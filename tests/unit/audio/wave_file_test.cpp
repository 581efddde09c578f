// WAV files: tempwave.wav byte for byte, the layout of a compressed file, and opening files
// good and malformed.
#include <gtest/gtest.h>

#include "support/test_bytes.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/wave_file.h"

namespace {

// Stands in for the program directory (which ends in a separator): a file-name prefix of the
// test's own, so that programDirectory + "tempwave.wav" is a file of this test.
std::string ProgramDirectory() {
    return TempPath("");
}

std::string ChunkHeader(const char* id, uint32_t size) {
    return std::string(id, 4) + U32(size);
}

// A GSM 6.10 format: 18 bytes and two extra bytes.
std::string GsmFormat() {
    return U16(49) + U16(1) + U32(8000) + U32(1625) + U16(65) + U16(0) + U16(2) + U16(320);
}

struct Answers {
    bool yes;
    std::vector<std::string> texts;
    std::vector<std::string> captions;
};

bool Answer(void* context, const char* text, const char* caption) {
    Answers* answers = static_cast<Answers*>(context);
    answers->texts.push_back(text);
    answers->captions.push_back(caption);
    return answers->yes;
}

// Opens bytes written to a temp file; the questions asked are recorded in answers.
uint32_t OpenBytes(const std::string& bytes, WaveFileInfo& info, Answers& answers) {
    std::string path = TempPath("in.wav");
    WriteBytes(path, bytes);
    WavePrompt prompt = {Answer, &answers};
    return wioFileOpen(&info, path.c_str(), 0, &prompt);
}

bool IsZeroed(const WaveFileInfo& i) {
    return i.flags == 0 && i.file.file.get() == nullptr && i.dataOffset == 0 && i.dataSize == 0 &&
           i.sampleCount == 0 && i.format == nullptr && i.formatBlockSize == 0;
}

// The CaptureFormat block as the engine makes it: the format zero-filled to the ACM maximum.
std::vector<unsigned char> CaptureFormat(uint32_t rate, uint32_t avg, uint16_t align, uint16_t bits,
                                         uint32_t blockSize) {
    std::vector<unsigned char> block(blockSize, 0);
    WaveFormatFields fields = {1, 1, rate, avg, align, bits, 0};
    WriteWaveFormat(block.data(), fields);
    return block;
}

struct RecordedFiles {
    std::string directory;
    std::string capturePath;
    std::string outputPath;
};

RecordedFiles PrepareCapture(const std::string& captured) {
    RecordedFiles files;
    files.directory = ProgramDirectory();
    files.capturePath = files.directory + "capture.tmp";
    files.outputPath = files.directory + "tempwave.wav";
    WriteBytes(files.capturePath, captured);
    std::remove(files.outputPath.c_str());
    return files;
}

TEST(WriteRecordedWave, WritesFmtFactAndDataByteForByte) {
    struct Row {
        uint32_t rate, avg;
        uint16_t align, bits;
        uint32_t formatSize; // the ACM maximum format size; an odd one gets a pad byte
        uint32_t bytes;      // more than one 32000-byte piece, or odd: padded
        uint32_t fact;
    };
    const Row rows[] = {
        {8000, 8000, 1, 8, 50, 16000, 16000},
        {16000, 16000, 1, 8, 21, 70001, 70001},
        {8000, 16000, 2, 16, 50, 16000, 8000},
        {44100, 88200, 2, 16, 50, 3, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rate);
        const std::string captured = Pattern(row.bytes);
        RecordedFiles files = PrepareCapture(captured);
        std::vector<unsigned char> format =
            CaptureFormat(row.rate, row.avg, row.align, row.bits, row.formatSize);
        RecordedWave recorded = {format.data(), row.formatSize, row.bytes,
                                 files.capturePath.c_str()};
        WaveMessage message;
        ASSERT_EQ(WriteRecordedWave(recorded, files.directory.c_str(), message), 0);
        EXPECT_EQ(message.caption, nullptr);

        std::string fmt = PcmFormat(row.rate, row.avg, row.align, row.bits) + U16(0) +
                          std::string(row.formatSize - 18, '\0');
        std::string expected =
            RiffWave(Chunk("fmt ", fmt) + Chunk("fact", U32(row.fact)) + Chunk("data", captured));
        EXPECT_EQ(ReadBytes(files.outputPath), expected);
    }
    WaveFormatFields broken = {1, 1, 8000, 0, 1, 8, 0};
    EXPECT_EQ(RecordedSampleCount(16000, broken), 0u);
}

TEST(WriteRecordedWave, ReportsEachFailureWithItsTextAndCode) {
    std::vector<unsigned char> format = CaptureFormat(8000, 8000, 1, 8, 50);
    WaveMessage message;

    RecordedFiles files = PrepareCapture("abc");
    RecordedWave nothing = {format.data(), 50, 0, files.capturePath.c_str()};
    EXPECT_EQ(WriteRecordedWave(nothing, files.directory.c_str(), message), 0);
    EXPECT_STREQ(message.caption, "Error");
    EXPECT_STREQ(message.text, "No recorded wave data to save.");
    EXPECT_EQ(ReadBytes(files.outputPath), "");

    RecordedWave recorded = {format.data(), 50, 3, files.capturePath.c_str()};
    std::string missingDirectory = files.directory + "no such directory/";
    EXPECT_EQ(WriteRecordedWave(recorded, missingDirectory.c_str(), message), -1);
    EXPECT_STREQ(message.caption, "Error");
    EXPECT_STREQ(message.text, "Error opening file for write.");

    std::string longDirectory(1020, 'd');
    EXPECT_EQ(WriteRecordedWave(recorded, longDirectory.c_str(), message), -1);

    std::string noCapture = files.directory + "missing.tmp";
    RecordedWave lost = {format.data(), 50, 3, noCapture.c_str()};
    EXPECT_EQ(WriteRecordedWave(lost, files.directory.c_str(), message), -5);
    EXPECT_STREQ(message.caption, "Error");
    EXPECT_STREQ(message.text, "Error writing wave data.");
    // The partial file stays, its data chunk never closed.
    std::string partial = ReadBytes(files.outputPath);
    EXPECT_EQ(partial.substr(0, 4), "RIFF");
    EXPECT_EQ(partial.substr(partial.size() - 8), ChunkHeader("data", 0));
}

TEST(CompressedWaveLayout, CopiesDispAndPlstThenFmtFactData) {
    const std::string kDisp("\x01\x00\x00\x00pic", 7);
    // The source holds chunks that are copied (DISP, plst of odd size) and others that are not.
    std::string source =
        RiffWave(Chunk("DISP", kDisp) + Chunk("LIST", "INFOab") + Chunk("plst", "12345") +
                 Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) + Chunk("data", Pattern(10)));
    std::string sourcePath = TempPath("source.wav");
    std::string destinationPath = TempPath("destination.wav");
    WriteBytes(sourcePath, source);

    RiffFile in = {};
    RiffFile out = {};
    ASSERT_TRUE(RiffOpen(in, sourcePath.c_str(), RiffOpenMode::Read));
    ASSERT_TRUE(RiffOpen(out, destinationPath.c_str(), RiffOpenMode::Write));
    RiffChunk outRiff = {};
    outRiff.formType = kWaveFormType;
    ASSERT_TRUE(RiffCreateChunk(out, outRiff, RiffCreate::Form));
    RiffChunk inRiff = {};
    inRiff.formType = kWaveFormType;
    ASSERT_TRUE(RiffDescend(in, inRiff, nullptr, RiffFind::Form));
    RiffChunk chunk = {};
    while (RiffDescend(in, chunk, &inRiff, RiffFind::Next)) {
        if (chunk.id == kDispChunkId || chunk.id == kPlstChunkId) {
            ASSERT_EQ(CopyChunk(in, out, chunk), 1);
        }
        ASSERT_TRUE(RiffAscend(in, chunk));
    }
    const std::string gsm = GsmFormat();
    ASSERT_EQ(WriteWaveFormatChunk(out, reinterpret_cast<const unsigned char*>(gsm.data()),
                                   static_cast<uint32_t>(gsm.size())),
              1);
    ASSERT_EQ(WriteFactChunk(out, 1234), 1);
    RiffChunk data = {};
    data.id = kDataChunkId;
    ASSERT_TRUE(RiffCreateChunk(out, data, RiffCreate::Plain));
    ASSERT_EQ(RiffWrite(out, "\x11\x22\x33", 3), 3u);
    ASSERT_TRUE(RiffAscend(out, data));
    ASSERT_TRUE(RiffAscend(out, outRiff));
    ASSERT_TRUE(RiffClose(out));
    RiffClose(in);

    std::string expected =
        RiffWave(Chunk("DISP", kDisp) + Chunk("plst", "12345") + Chunk("fmt ", gsm) +
                 Chunk("fact", U32(1234)) + Chunk("data", "\x11\x22\x33"));
    EXPECT_EQ(ReadBytes(destinationPath), expected);
}

TEST(CompressedWaveLayout, PcmFormatIsSixteenBytesAndOversizedPiecesAreRefused) {
    std::string sourcePath = TempPath("source.wav");
    std::string path = TempPath("pcm.wav");
    WriteBytes(sourcePath, RiffWave(ChunkHeader("DISP", 0xFFFFFFF0) + "abc"));
    RiffFile in = {};
    RiffFile out = {};
    ASSERT_TRUE(RiffOpen(in, sourcePath.c_str(), RiffOpenMode::Read));
    ASSERT_TRUE(RiffOpen(out, path.c_str(), RiffOpenMode::Write));
    std::string format = PcmFormat(8000, 8000, 1, 8) + U16(7); // cbSize is not written
    ASSERT_EQ(WriteWaveFormatChunk(out, reinterpret_cast<const unsigned char*>(format.data()), 18),
              1);
    // A non-PCM block shorter than its cbSize announces, and a chunk running nearly 4 GiB past
    // the end of its file, leave nothing behind.
    std::string shortGsm = GsmFormat().substr(0, 18);
    EXPECT_EQ(
        WriteWaveFormatChunk(out, reinterpret_cast<const unsigned char*>(shortGsm.data()), 18), 0);
    RiffChunk riff = {};
    riff.formType = kWaveFormType;
    ASSERT_TRUE(RiffDescend(in, riff, nullptr, RiffFind::Form));
    RiffChunk chunk = {};
    ASSERT_TRUE(RiffDescend(in, chunk, &riff, RiffFind::Next));
    EXPECT_EQ(CopyChunk(in, out, chunk), 0);
    RiffClose(in);
    ASSERT_TRUE(RiffClose(out));
    EXPECT_EQ(ReadBytes(path), Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)));
}

TEST(WioFileOpen, ShortPcmFormatWithoutFactCountsBlocks) {
    WaveFileInfo info;
    Answers answers = {false, {}, {}};
    std::string bytes =
        RiffWave(Chunk("fmt ", PcmFormat(8000, 16000, 2, 16)) + Chunk("data", Pattern(1001)));
    ASSERT_EQ(OpenBytes(bytes, info, answers), kWioOk);
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_EQ(info.formatBlockSize, 18u);
    EXPECT_EQ(ReadWaveFormat(info.format, info.formatBlockSize).extraSize, 0u);
    EXPECT_EQ(info.dataSize, 1001u);
    EXPECT_EQ(info.sampleCount, 500u);
    EXPECT_EQ(info.dataOffset, 12u + 8 + 16 + 8);
    CloseWaveFile(&info);
}

TEST(WioFileOpen, NonPcmWithoutFactAsksOnce) {
    const std::string bytes = RiffWave(Chunk("fmt ", GsmFormat()) + Chunk("data", Pattern(65)));
    WaveFileInfo info;
    Answers yes = {true, {}, {}};
    ASSERT_EQ(OpenBytes(bytes, info, yes), kWioOk);
    ASSERT_EQ(yes.texts.size(), 1u);
    EXPECT_EQ(yes.texts[0], "This wave file does not have a 'fact' chunk and requires one! This "
                            "is completely invalid and MUST be fixed! Attempt to load it anyway?");
    EXPECT_EQ(yes.captions[0], "wioFileOpen");
    EXPECT_EQ(info.sampleCount, 0u);
    CloseWaveFile(&info);

    Answers no = {false, {}, {}};
    EXPECT_EQ(OpenBytes(bytes, info, no), kWioUserCancelled);
    EXPECT_TRUE(IsZeroed(info));
    EXPECT_EQ(wioFileOpen(&info, TempPath("in.wav").c_str(), 0, nullptr), kWioUserCancelled);
}

TEST(WioFileOpen, ChunkBeyondTheFormAsksOncePerChunk) {
    // The RIFF size leaves out the last 8 bytes of data, and a trailing "junk" chunk lies
    // wholly outside the form.
    std::string body = Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) + Chunk("data", Pattern(16));
    std::string bytes = "RIFF" + U32(static_cast<uint32_t>(4 + body.size() - 8)) + "WAVE" + body;
    WaveFileInfo info;
    Answers yes = {true, {}, {}};
    ASSERT_EQ(OpenBytes(bytes + Chunk("junk", "xy"), info, yes), kWioOk);
    ASSERT_EQ(yes.texts.size(), 1u); // the walk ends at the end of the form
    EXPECT_EQ(yes.texts[0], "This wave file might be corrupt. The RIFF chunk.ckid '61746164' (data "
                            "offset at 44) specifies a cksize of 16 that extends beyond what the "
                            "RIFF header cksize of 44 allows. Attempt to load?");
    EXPECT_EQ(info.dataSize, 16u);
    CloseWaveFile(&info);

    Answers no = {false, {}, {}};
    EXPECT_EQ(OpenBytes(bytes, info, no), kWioUserCancelled);
    EXPECT_TRUE(IsZeroed(info));

    // Chunks behind the end of the form are not part of it: nothing to ask.
    Answers none = {false, {}, {}};
    ASSERT_EQ(OpenBytes(RiffWave(body) + Chunk("id3 ", Pattern(9)), info, none), kWioOk);
    EXPECT_TRUE(none.texts.empty());
    CloseWaveFile(&info);
}

TEST(WioFileOpen, FirstNonEmptyDataAndFirstFactCount) {
    std::string bytes =
        RiffWave(Chunk("fact", U32(77)) + Chunk("data", "") + Chunk("fmt ", GsmFormat()) +
                 Chunk("fmt ", PcmFormat(1, 1, 1, 8)) + Chunk("data", Pattern(130)) +
                 Chunk("fact", U32(99)) + Chunk("data", Pattern(4)));
    WaveFileInfo info;
    Answers answers = {false, {}, {}};
    ASSERT_EQ(OpenBytes(bytes, info, answers), kWioOk);
    EXPECT_EQ(info.sampleCount, 77u);
    EXPECT_EQ(info.dataSize, 130u);
    EXPECT_EQ(info.dataOffset, 12u + 12 + 8 + 28 + 24 + 8);
    EXPECT_EQ(ReadWaveFormat(info.format, info.formatBlockSize).formatTag, 49u);
    EXPECT_EQ(info.formatBlockSize, 20u);
    CloseWaveFile(&info);
}

TEST(WioFileOpen, OddChunksArePaddedAndListsSkipped) {
    std::string bytes =
        RiffWave(Chunk("LIST", "INFOabc") + Chunk("xyz ", "q") +
                 Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) + Chunk("data", Pattern(3)));
    WaveFileInfo info;
    Answers answers = {false, {}, {}};
    ASSERT_EQ(OpenBytes(bytes, info, answers), kWioOk);
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_EQ(info.dataSize, 3u);
    EXPECT_EQ(info.sampleCount, 3u);
    CloseWaveFile(&info);
}

TEST(WioFileOpen, FilesThatAreNotWaveFiles) {
    WaveFileInfo info;
    Answers answers = {true, {}, {}};
    EXPECT_EQ(OpenBytes("ID3\x03\x00\x00\x00\x00\x00\x0a" + Pattern(300), info, answers),
              kWioCannotRead);
    EXPECT_TRUE(IsZeroed(info));
    EXPECT_EQ(OpenBytes("", info, answers), kWioCannotRead);
    EXPECT_EQ(OpenBytes("RIFF" + U32(4) + "AVI ", info, answers), kWioCannotRead);
    EXPECT_EQ(OpenBytes(RiffWave(Chunk("data", "abcd")), info, answers), kWioNoFormat);
    EXPECT_EQ(OpenBytes("RIFF" + U32(2) + "WA", info, answers), kWioCannotRead);
    EXPECT_EQ(wioFileOpen(&info, TempPath("missing.wav").c_str(), 5, nullptr), kWioCannotRead);
    EXPECT_TRUE(IsZeroed(info));
    EXPECT_EQ(wioFileOpen(nullptr, TempPath("missing.wav").c_str(), 0, nullptr), kWioNoRecord);
    EXPECT_EQ(CloseWaveFile(nullptr), kWioNoRecord);
    EXPECT_TRUE(answers.texts.empty());
}

TEST(WioFileOpen, MalformedSizesNeverReadOrAllocateBeyondTheFile) {
    WaveFileInfo info;
    Answers yes = {true, {}, {}};
    // A fmt chunk claiming nearly 4 GiB inside a form claiming as much: refused before any
    // allocation.
    std::string hugeFormat = "RIFF" + U32(0xFFFFFFFF) + "WAVE" + ChunkHeader("fmt ", 0xFFFFFFF0) +
                             PcmFormat(8000, 8000, 1, 8);
    EXPECT_EQ(OpenBytes(hugeFormat, info, yes), kWioCannotRead);
    EXPECT_TRUE(IsZeroed(info));

    // A file cut off inside the fmt chunk.
    std::string cut = RiffWave(Chunk("fmt ", PcmFormat(8000, 8000, 1, 8))).substr(0, 30);
    EXPECT_EQ(OpenBytes(cut, info, yes), kWioCannotRead);

    // A non-PCM format whose cbSize announces more bytes than its chunk holds.
    std::string lying = GsmFormat().substr(0, 16) + U16(500) + U16(320);
    EXPECT_EQ(OpenBytes(RiffWave(Chunk("fmt ", lying)), info, yes), kWioCannotRead);

    // A data chunk running past the end of the file: its size is cut to the bytes present.
    std::string truncated = "RIFF" + U32(0xFFFFFFFF) + "WAVE" +
                            Chunk("fmt ", PcmFormat(8000, 16000, 2, 16)) +
                            ChunkHeader("data", 0xFFFFFFFF) + Pattern(101);
    ASSERT_EQ(OpenBytes(truncated, info, yes), kWioOk);
    EXPECT_EQ(info.dataSize, 101u);
    EXPECT_EQ(info.sampleCount, 50u);
    CloseWaveFile(&info);

    // A fact chunk too short for a count and a stray half header at the end are passed over.
    std::string odd = RiffWave(Chunk("fact", "ab") + Chunk("fmt ", PcmFormat(8000, 8000, 1, 8)) +
                               Chunk("data", "abcd") + "dat");
    ASSERT_EQ(OpenBytes(odd, info, yes), kWioOk);
    EXPECT_EQ(info.sampleCount, 4u);
    CloseWaveFile(&info);
    EXPECT_EQ(yes.texts.size(), 1u); // for the truncated data chunk only
}

TEST(LoadWaveFileRecord, CopiesFormatSizesAndCounts) {
    WaveFileRecord record = {};
    WaveMessage message;
    std::string path = TempPath("gsm.wav");
    WriteBytes(path, RiffWave(Chunk("fmt ", GsmFormat()) + Chunk("fact", U32(3200)) +
                              Chunk("data", Pattern(650))));
    std::snprintf(record.path, sizeof record.path, "%s", path.c_str());
    ASSERT_EQ(LoadWaveFileRecord(record, nullptr, message), 1);
    EXPECT_EQ(message.caption, nullptr);
    EXPECT_EQ(record.formatSize, 20u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(record.format), 20), GsmFormat());
    EXPECT_EQ(record.dataSize, 650u);
    EXPECT_EQ(record.sampleCount, 3200u);

    // Loading again replaces the copy; a PCM format is 16 bytes even in an 18-byte chunk.
    WriteBytes(path, RiffWave(Chunk("fmt ", PcmFormat(8000, 8000, 1, 8) + U16(0)) +
                              Chunk("data", Pattern(10))));
    ASSERT_EQ(LoadWaveFileRecord(record, nullptr, message), 1);
    EXPECT_EQ(record.formatSize, 16u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(record.format), 16), PcmFormat(8000, 8000, 1, 8));
    EXPECT_EQ(record.sampleCount, 10u);
    ReleaseWaveFileRecord(record);
    EXPECT_EQ(record.format, nullptr);
}

TEST(LoadWaveFileRecord, ReportsUnusableFilesButNotMissingOnes) {
    WaveFileRecord record = {};
    WaveMessage message;
    std::string path = TempPath("voice.mp3");
    WriteBytes(path, "ID3\x03" + Pattern(100));
    std::snprintf(record.path, sizeof record.path, "%s", path.c_str());
    EXPECT_EQ(LoadWaveFileRecord(record, nullptr, message), 0);
    EXPECT_STREQ(message.caption, "ERROR");
    EXPECT_EQ(std::string(message.text),
              "The file '" + path + "' cannot be loaded as a wave file (wio error=6).");
    EXPECT_EQ(record.format, nullptr);

    std::snprintf(record.path, sizeof record.path, "%s", TempPath("missing.wav").c_str());
    EXPECT_EQ(LoadWaveFileRecord(record, nullptr, message), 0);
    EXPECT_EQ(message.caption, nullptr);

    std::memset(record.path, 'x', sizeof record.path); // not terminated: refused
    EXPECT_EQ(LoadWaveFileRecord(record, nullptr, message), 0);
}

} // namespace
