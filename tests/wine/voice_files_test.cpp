// Voice files through the real Audio Compression Manager and the real programs: GSM 6.10 in
// the main program, kto2mp3.exe, and the encoder runners with their programs present, missing,
// unstartable and cancelled.
#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../unit/mp3conv/mp3_frames.h"
#include "../unit/support/test_bytes.h"
#include "app/win/app_state.h"
#include "audio/win/acm_formats.h"
#include "audio/win/gsm_compression.h"
#include "audio/win/mp3_codec.h"
#include "audio/win/mp3_codec_driver.h"
#include "compose/win/attachments.h"
#include "plugins/win/encoder_runner.h"
#include "plugins/win/plugin_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/voice_recording.h"

namespace {

void CopyProgram(const char* name, const std::string& folder, const char* as = nullptr) {
    ASSERT_TRUE(CopyTestProgram(name, folder, as)) << name;
}

uint32_t Read32(const std::string& bytes, size_t at) {
    return ReadLittleEndian32(reinterpret_cast<const unsigned char*>(bytes.data() + at));
}

uint16_t Read16(const std::string& bytes, size_t at) {
    return ReadLittleEndian16(reinterpret_cast<const unsigned char*>(bytes.data() + at));
}

// tempwave.wav as the recorder writes it: fmt, fact and data, a 440 Hz tone.
std::string ToneWave(uint32_t rate, int bits, uint32_t samples) {
    const uint16_t align = static_cast<uint16_t>(bits / 8);
    std::string format = U16(1) + U16(1) + U32(rate) + U32(rate * align) + U16(align) +
                         U16(static_cast<uint16_t>(bits)) + U16(0);
    std::string sound;
    for (uint32_t i = 0; i < samples; ++i) {
        const double value = std::sin(2 * 3.14159265358979 * 440.0 * i / rate) * 0.6;
        sound += bits == 8 ? std::string(1, static_cast<char>(128 + static_cast<int>(value * 127)))
                           : U16(static_cast<uint16_t>(static_cast<int16_t>(value * 32767)));
    }
    const std::string body =
        Chunk("fmt ", format) + Chunk("fact", U32(samples)) + Chunk("data", sound);
    return "RIFF" + U32(static_cast<uint32_t>(4 + body.size())) + "WAVE" + body;
}

struct ChunkSeen {
    std::string id;
    uint32_t size;
    size_t contents;
};

// The chunks of a RIFF WAVE file; empty when the RIFF size does not match the file.
std::vector<ChunkSeen> ChunksOf(const std::string& file) {
    std::vector<ChunkSeen> chunks;
    if (file.size() < 12 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WAVE" ||
        Read32(file, 4) != file.size() - 8) {
        return chunks;
    }
    for (size_t at = 12; at + 8 <= file.size();) {
        ChunkSeen chunk = {file.substr(at, 4), Read32(file, at + 4), at + 8};
        chunks.push_back(chunk);
        at += 8 + chunk.size + (chunk.size & 1);
    }
    return chunks;
}

// Line `index` (from 0) of the fake encoder's encoder.log: the command line, the arguments,
// the folder, the process id.
std::string LogLine(const std::string& folder, int index) {
    const std::string log = ReadWholeFile(folder + "encoder.log");
    size_t start = 0;
    for (int i = 0; i < index && start != std::string::npos; ++i) {
        start = log.find('\n', start);
        start = start == std::string::npos ? start : start + 1;
    }
    if (start == std::string::npos) {
        return "(no line)";
    }
    return log.substr(start, log.find('\n', start) - start);
}

std::string ContentsOf(const std::string& file, const ChunkSeen& chunk) {
    return file.substr(chunk.contents, chunk.size);
}

using GsmCompression = MainWindowTest;

TEST_F(GsmCompression, TheCodecIsFoundAndItsFirstFormatIs8000HzMono) {
    HACMDRIVERID driver = FindDriverForTag(kGsm610FormatTag);
    ASSERT_NE(driver, nullptr);
    uint32_t size = 0;
    unsigned char* format = FirstFormatOfTag(driver, kGsm610FormatTag, &size);
    ASSERT_NE(format, nullptr);
    const auto* fields = reinterpret_cast<WAVEFORMATEX*>(format);
    EXPECT_GE(size, 20u);
    EXPECT_EQ(fields->wFormatTag, 49);
    EXPECT_EQ(fields->nChannels, 1);
    EXPECT_EQ(fields->nSamplesPerSec, 8000u);
    EXPECT_EQ(fields->nBlockAlign, 65);
    std::free(format);
    EXPECT_EQ(FirstFormatOfTag(driver, 0x7777, &size), nullptr);
    EXPECT_EQ(FindDriverForTag(0x7777), nullptr);
}

// The spoken phrase compressed and decoded by the host (SpokenGsm below and
// scripts/check-speech.py) shows that the sound comes through; here, what the window adds.
TEST_F(GsmCompression, CancelEndsWithZeroAndAFileWhoseSizesAreWritten) {
    WriteWholeFile(folder_ + "tempwave.wav", ToneWave(8000, 8, 8000 * 600));
    std::string input, output, title;
    WhenDialogAppears([&](HWND dialog) {
        input = TextOf(GetDlgItem(dialog, IDC_CONVERT_INPUT));
        output = TextOf(GetDlgItem(dialog, IDC_CONVERT_OUTPUT));
        title = TextOf(dialog);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(CompressToGsm(window_, "long.wav"), 0);
    EXPECT_EQ(input, "tempwave.wav");
    EXPECT_EQ(output, "long.wav");
    EXPECT_EQ(title.rfind("compressing... ", 0), 0u) << title;
    const std::string file = ReadWholeFile(folder_ + "long.wav");
    std::vector<ChunkSeen> chunks = ChunksOf(file);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[2].size % 65, 0u);
    EXPECT_LT(chunks[2].size, 15000u * 65) << "stopped before the end";
}

TEST_F(GsmCompression, AVoiceFileNamedLikeTheRecordingReplacesItWithItsCompressedForm) {
    // The recording moves aside while it is compressed onto its own name; the name is compared
    // as the file system does, without regard to case.
    for (const char* name : {"tempwave.wav", "TempWave.wav"}) {
        WriteWholeFile(folder_ + "tempwave.wav", ToneWave(8000, 8, 24000));
        ASSERT_EQ(CompressToGsm(window_, name), 1) << name;
        const std::string file = ReadWholeFile(folder_ + "tempwave.wav");
        std::vector<ChunkSeen> chunks = ChunksOf(file);
        ASSERT_EQ(chunks.size(), 3u) << name;
        const std::string format = ContentsOf(file, chunks[0]);
        EXPECT_EQ(Read16(format, 0), 0x31) << name;
        EXPECT_EQ(Read32(ContentsOf(file, chunks[1]), 0), 24000u) << name;
        EXPECT_EQ(chunks[2].size, 75u * 65) << name;
        EXPECT_FALSE(FileExists(folder_ + "tempwave.in")) << name;
    }
    // A cancelled compression leaves the recording as it was.
    const std::string recording = ToneWave(8000, 8, 8000 * 600);
    WriteWholeFile(folder_ + "tempwave.wav", recording);
    WhenDialogAppears([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(CompressToGsm(window_, "tempwave.wav"), 0);
    EXPECT_TRUE(ReadWholeFile(folder_ + "tempwave.wav") == recording);
    EXPECT_FALSE(FileExists(folder_ + "tempwave.in"));
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(GsmCompression, NothingToCompressGivesZero) {
    EXPECT_EQ(CompressToGsm(window_, "voicemsg.wav"), 0); // no tempwave.wav: no message
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    WriteWholeFile(folder_ + "tempwave.wav", "ID3 not a wave at all");
    EXPECT_EQ(CompressToGsm(window_, "voicemsg.wav"), 0);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "ERROR");
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "The file '" + folder_ +
                  "tempwave.wav' cannot be loaded as a wave file (wio error=6).");
}

// A converter run as the main program starts it, from a folder of its own.
class ConverterProgram : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakeTempFolder("kto2mp3");
        CopyProgram("kto2mp3.exe", folder_);
    }
    void TearDown() override { RemoveFolder(folder_); }

    DWORD Run(const std::string& arguments) {
        std::string exe = folder_ + "kto2mp3.exe";
        std::vector<char> commandLine(arguments.begin(), arguments.end());
        commandLine.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        char elsewhere[MAX_PATH];
        GetTempPathA(MAX_PATH, elsewhere);
        EXPECT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, elsewhere, &startup, &process));
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 12345;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return code;
    }

    std::string folder_;
};

// The MP3 file kto2mp3 writes: MPEG Layer-3 frames (mono, the rate and bitrate of the quality
// digit) from the first byte to the last, with no container around them.
void ExpectMp3File(const std::string& file, uint32_t rate, uint32_t bytesPerSecond,
                   uint32_t samples) {
    ASSERT_GE(file.size(), 4u);
    EXPECT_NE(file.substr(0, 4), "RIFF");
    std::vector<Mp3Frame> frames;
    ASSERT_TRUE(ReadMp3Frames(file, frames)) << "whole frames only";
    EXPECT_GE(frames.size(), samples / 576);
    EXPECT_LE(frames.size(), samples / 576 + 4) << "the sound and the encoder's delay only";
    for (const Mp3Frame& frame : frames) {
        EXPECT_EQ(frame.layer, 3);
        EXPECT_EQ(frame.sampleRate, static_cast<int>(rate));
        EXPECT_EQ(frame.kbitPerSecond, static_cast<int>(bytesPerSecond * 8 / 1000));
        EXPECT_TRUE(frame.mono);
    }
}

// The first top-level window of the process whose title begins with the text.
HWND WindowOfProcess(DWORD processId, const char* titleStart) {
    struct Search {
        DWORD processId;
        const char* titleStart;
        HWND found;
    } search = {processId, titleStart, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search.processId && TextOf(window).rfind(search.titleStart, 0) == 0) {
                search.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(ConverterProgram, CancelEndsTheProgramWithTheFramesWrittenSoFar) {
    const uint32_t samples = 16000 * 1800; // half an hour: long enough to be cancelled
    WriteWholeFile(folder_ + "tempwave.wav", ToneWave(16000, 8, samples));
    std::string exe = folder_ + "kto2mp3.exe";
    char commandLine[] = " 0long.mp3";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                               folder_.c_str(), &startup, &process));
    HWND dialog = nullptr;
    for (int i = 0; i < 3000 && dialog == nullptr; ++i) {
        // Between 1% and 19%: some frames are written, most are not.
        dialog = WindowOfProcess(process.dwProcessId, "compressing... 1");
        Sleep(dialog == nullptr ? 10 : 0);
    }
    ASSERT_NE(dialog, nullptr) << "the main pass went past 1%";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_EQ(code, 1u) << "every end of kto2mp3 gives 1";
    const std::string file = ReadWholeFile(folder_ + "long.mp3");
    std::vector<Mp3Frame> frames;
    // The encoder gives its bytes out as they are ready, not frame by frame, so the file may
    // end in part of a frame (16 kbit/s frames are all 72 bytes); everything before is frames.
    EXPECT_TRUE(ReadMp3Frames(file.substr(0, file.size() / 72 * 72), frames))
        << file.size() << " bytes";
    EXPECT_GT(frames.size(), 0u);
    EXPECT_LT(frames.size(), samples / 576) << "stopped before the end";
}

TEST_F(ConverterProgram, WithoutInputOrArgumentsItJustEnds) {
    EXPECT_EQ(Run(" 0voicemsg.mp3"), 1u);
    EXPECT_FALSE(FileExists(folder_ + "voicemsg.mp3"));
    EXPECT_EQ(Run(""), 1u);
}

TEST_F(ConverterProgram, AnOutputNamedLikeTheRecordingLeavesTheRecordingAlone) {
    const std::string recording = ToneWave(8000, 16, 8000);
    WriteWholeFile(folder_ + "tempwave.wav", recording);
    EXPECT_EQ(Run(" 1TEMPWAVE.WAV"), 1u);
    EXPECT_TRUE(ReadWholeFile(folder_ + "tempwave.wav") == recording);
}

class EncoderRunners : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        pluginSettings = PluginSettings{};
        customEncoder = CustomEncoderCommand{};
        encoderOutputName[0] = '\0';
    }

    void UseCustomLine(const char* line) {
        ASSERT_EQ(ParseCustomEncoderLine(line, programDirectory, customEncoder), 1);
    }

    void SetOutputName(const char* name) {
        lstrcpynA(encoderOutputName, name, sizeof encoderOutputName);
    }
};

TEST_F(EncoderRunners, Mp3RunnerStartsTheConverterAndWaitsForIt) {
    CopyProgram("kto2mp3.exe", folder_);
    WriteWholeFile(folder_ + "tempwave.wav", ToneWave(8000, 16, 16000));
    pluginSettings.mp3Quality = 1;
    SetOutputName("note.wav");
    EXPECT_EQ(RunMp3Encoder(window_), 1);
    EXPECT_STREQ(encoderOutputName, "note.mp3");
    ExpectMp3File(ReadWholeFile(folder_ + "note.mp3"), 8000, 1000, 16000);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_EQ(Mp3CodecPresent(), 1) << "kto2mp3.exe is in the program folder";
}

TEST_F(EncoderRunners, MissingProgramsAreReportedAndGiveZero) {
    SetOutputName("voicemsg.wav");
    EXPECT_EQ(RunMp3Encoder(window_), 0);
    EXPECT_EQ(RunRealVideoEncoder(window_), 0);
    EXPECT_EQ(RunCodecInstaller(nullptr), 0);
    UseCustomLine("gone.exe -in #i -out #u #x=.gsm");
    EXPECT_EQ(RunCustomEncoder(window_), 0);
    // The texts are the launch rules' own; each runner shows its box.
    const std::vector<MessageBoxCall>& calls = MessageBoxes::Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].caption, "Kestro MP3 encoder missing");
    EXPECT_EQ(calls[1].caption, "Real Video encoder not found!");
    EXPECT_EQ(calls[2].caption, "Kestro reminder");
    EXPECT_EQ(calls[3].caption, "Custom encoder missing!");
    EXPECT_STREQ(encoderOutputName, "voicemsg.wav") << "nothing was started";
}

TEST_F(EncoderRunners, TheInstallerIsStartedWithoutArguments) {
    CopyProgram("fake_encoder.exe", folder_, "WMEDist.exe");
    EXPECT_EQ(RunCodecInstaller(nullptr), 1);
    EXPECT_EQ(LogLine(folder_, 1), "");
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(EncoderRunners, CustomLineRunsItsProgramInTheProgramFolder) {
    CopyProgram("fake_encoder.exe", folder_);
    const std::string sound = ToneWave(44100, 16, 4410);
    WriteWholeFile(folder_ + "tempwave.wav", sound);
    UseCustomLine("fake_encoder.exe -in #i -out #u #x=.gsm");
    SetOutputName("voicemsg.wav");
    EXPECT_EQ(RunCustomEncoder(window_), 1);
    EXPECT_STREQ(encoderOutputName, "voicemsg.gsm");
    EXPECT_EQ(ReadWholeFile(folder_ + "voicemsg.gsm"), sound);
    EXPECT_EQ(LogLine(folder_, 0),
              "fake_encoder.exe -in tempwave.wav  -out voicemsg.gsm" + std::string(8, ' '));
    EXPECT_EQ(LogLine(folder_, 2), folder_.substr(0, folder_.size() - 1));
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(EncoderRunners, CancelKillsTheProgramWithExitCode259) {
    CopyProgram("fake_encoder.exe", folder_);
    WriteWholeFile(folder_ + "tempwave.wav", ToneWave(44100, 16, 441));
    UseCustomLine("fake_encoder.exe -wait -in #i -out #u #x=gsm");
    SetOutputName("slow");
    HANDLE child = nullptr;
    std::string title;
    WhenDialogAppears([&](HWND dialog) {
        title = TextOf(dialog);
        for (int i = 0; i < 500 && !FileExists(folder_ + "encoder.log"); ++i) {
            Sleep(20);
        }
        PumpMessagesFor(100);
        const DWORD id = std::stoul(LogLine(folder_, 3));
        child = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, id);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(RunCustomEncoder(window_), 0);
    EXPECT_EQ(title, "Compressing...");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(WaitForSingleObject(child, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(child, &code);
    CloseHandle(child);
    EXPECT_EQ(code, 259u);
    EXPECT_FALSE(FileExists(folder_ + "slow.gsm"));
}

TEST_F(EncoderRunners, AProgramThatCannotStartEndsTheRunnerWithAMessage) {
    WriteWholeFile(folder_ + "broken.exe", "this is not a program");
    UseCustomLine("broken.exe #i #u #x=gsm");
    SetOutputName("voicemsg.wav");
    EXPECT_EQ(RunCustomEncoder(window_), 0);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "The program\n" + folder_ +
                  "broken.exe\ncould not be started.\n\nThe file may be damaged; please install "
                  "it again.");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Custom encoder missing!");
}

TEST_F(EncoderRunners, RealVideoCommandAttachesWhatTheEncoderLeft) {
    CopyProgram("fake_encoder.exe", folder_, "kto2rm.exe");
    WriteWholeFile(folder_ + "clip.rm", "a clip");
    pluginSettings.realVideoSelection = 2;
    SetOutputName("clip.avi");
    SendMessageA(window_, WM_COMMAND, IDM_REALVIDEO_ENCODE, 0);
    EXPECT_STREQ(encoderOutputName, "clip.rm");
    EXPECT_EQ(LogLine(folder_, 0), " 2clip.rm");
    EXPECT_EQ(LogLine(folder_, 1), "2clip.rm") << "the digit comes first in the arguments";
    EXPECT_EQ(AttachmentCount(), 1);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

#define REQUIRE_SPEECH(speech)                                                                     \
    const std::string speech = SpeechFolder();                                                     \
    if (speech.empty()) {                                                                          \
        GTEST_SKIP() << "KESTRO_SPEECH is not set: run scripts/make-speech-fixtures.sh <folder> "  \
                        "and set it to that folder as a Windows path";                             \
    }

// The sample count of a PCM recording: its data size over its block alignment.
uint32_t SamplesOf(const std::string& wave) {
    std::vector<ChunkSeen> chunks = ChunksOf(wave);
    uint16_t align = 0;
    for (const ChunkSeen& chunk : chunks) {
        if (chunk.id == "fmt ") {
            align = Read16(ContentsOf(wave, chunk), 12);
        } else if (chunk.id == "data" && align != 0) {
            return chunk.size / align;
        }
    }
    return 0;
}

using SpokenGsm = MainWindowTest;

TEST_F(SpokenGsm, TheRecordedPhraseBecomesAGsmFileForTheHostToDecode) {
    REQUIRE_SPEECH(speech);
    for (const char* capture : {"8k-8bit", "8k-16bit"}) {
        const std::string input = ReadWholeFile(speech + "speech-" + capture + ".wav");
        const uint32_t samples = SamplesOf(input);
        ASSERT_GT(samples, 8000u) << capture;
        WriteWholeFile(folder_ + "tempwave.wav", input);
        ASSERT_EQ(CompressToGsm(window_, "voicemsg.wav"), 1) << capture;
        const std::string file = ReadWholeFile(folder_ + "voicemsg.wav");
        std::vector<ChunkSeen> chunks = ChunksOf(file);
        ASSERT_EQ(chunks.size(), 3u) << capture;
        EXPECT_EQ(Read16(ContentsOf(file, chunks[0]), 0), 0x31);
        EXPECT_EQ(Read32(ContentsOf(file, chunks[1]), 0), samples);
        EXPECT_EQ(chunks[2].size, (samples + 319) / 320 * 65);
        WriteWholeFile(speech + "out-gsm-" + capture + ".wav", file);
    }
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(ConverterProgram, TheRecordedPhraseBecomesMp3FilesForTheHostToDecode) {
    REQUIRE_SPEECH(speech);
    struct Case {
        const char* capture;
        const char* arguments;
        uint32_t rate;
        uint32_t bytesPerSecond;
    };
    for (const Case& run : {Case{"8k-16bit", " 1note.mp3", 8000, 1000},
                            Case{"16k-8bit", " 0note.mp3", 16000, 2000}}) {
        const std::string input = ReadWholeFile(speech + "speech-" + run.capture + ".wav");
        WriteWholeFile(folder_ + "tempwave.wav", input);
        WriteWholeFile(folder_ + "note.mp3", std::string(300000, 'x')); // an older file
        EXPECT_EQ(Run(run.arguments), 1u);
        const std::string file = ReadWholeFile(folder_ + "note.mp3");
        ExpectMp3File(file, run.rate, run.bytesPerSecond, SamplesOf(input));
        WriteWholeFile(speech + "out-mp3-" + run.capture + ".mp3", file);
    }
}

TEST(Mp3CodecFile, TheSixPlacesAreSearchedInOrder) {
    char saved[MAX_PATH] = {};
    GetEnvironmentVariableA("windir", saved, sizeof saved);
    const std::string windir = MakeTempFolder("windir");
    CreateDirectoryA((windir + "system").c_str(), nullptr);
    CreateDirectoryA((windir + "system32").c_str(), nullptr);
    WriteWholeFile(windir + "system32\\l3codeca.acm", "codec");
    SetEnvironmentVariableA("windir", windir.substr(0, windir.size() - 1).c_str());
    char path[MAX_PATH + 32];
    ASSERT_EQ(FindMp3CodecFile(path, sizeof path), 1);
    EXPECT_EQ(std::string(path), windir + "system32\\l3codeca.acm");
    WriteWholeFile(windir + "system\\l3codecp.acm", "codec");
    ASSERT_EQ(FindMp3CodecFile(path, sizeof path), 1);
    EXPECT_EQ(std::string(path), windir + "system\\l3codecp.acm");
    EXPECT_EQ(Mp3CodecFileFound(), 1);
    SetEnvironmentVariableA("windir", saved);
    RemoveFolder(windir);
}

} // namespace
