// Not a test: the figures `make bench` prints (scripts/bench.sh). Disabled, so that no test run
// depends on the speed of the machine; it fails only when the conversion itself fails. It times
// the real paths: the GSM 6.10 conversion through the Audio Compression Manager with the
// progress dialog, and kto2mp3.exe run as the main program runs it, less the time the same
// program needs to start and end with nothing to convert.
#include <windows.h>

#include <cstdio>
#include <string>

#include "audio/win/gsm_compression.h"
#include "support/harness.h"
#include "support/voice_recording.h"

namespace {

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Seconds kto2mp3.exe in the folder runs with these arguments.
double RunConverter(const std::string& folder, const char* arguments) {
    std::string exe = folder + "kto2mp3.exe";
    std::string line = arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, 600000);
    const double seconds = Now() - start;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return seconds;
}

constexpr int kRounds = 3; // the best of three is printed

using DISABLED_VoiceBench = MainWindowTest;

TEST_F(DISABLED_VoiceBench, GsmAndMp3EncodingSpeed) {
    const std::string speech = SpeechFolder();
    if (speech.empty()) {
        GTEST_SKIP() << "KESTRO_SPEECH is not set: scripts/bench.sh sets it";
    }
    WriteWholeFile(folder_ + "tempwave.wav", ReadWholeFile(speech + "speech-60s-8k-8bit.wav"));
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const double start = Now();
        ASSERT_EQ(CompressToGsm(window_, "bench.wav"), 1);
        const double seconds = Now() - start;
        best = seconds < best ? seconds : best;
    }
    std::printf("BENCH gsm %.4f\n", best);

    ASSERT_TRUE(CopyTestProgram("kto2mp3.exe", folder_));
    DeleteFileA((folder_ + "tempwave.wav").c_str());
    double idle = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const double seconds = RunConverter(folder_, " 1idle.mp3");
        idle = seconds < idle ? seconds : idle;
    }
    std::printf("BENCH kto2mp3-start %.4f\n", idle);
    struct Case {
        const char* input;
        const char* arguments;
        const char* name;
    };
    for (const Case& run : {Case{"speech-60s-8k-16bit.wav", " 1bench.mp3", "mp3-8k"},
                            Case{"speech-60s-16k-8bit.wav", " 0bench.mp3", "mp3-16k"}}) {
        WriteWholeFile(folder_ + "tempwave.wav", ReadWholeFile(speech + run.input));
        best = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            const double seconds = RunConverter(folder_, run.arguments);
            best = seconds < best ? seconds : best;
        }
        ASSERT_TRUE(FileExists(folder_ + "bench.mp3"));
        std::printf("BENCH %s %.4f %lu\n", run.name, best,
                    static_cast<unsigned long>(ReadWholeFile(folder_ + "bench.mp3").size()));
        WriteWholeFile(speech + "bench-" + run.name + ".mp3", ReadWholeFile(folder_ + "bench.mp3"));
    }
    WriteWholeFile(speech + "bench-gsm.wav", ReadWholeFile(folder_ + "bench.wav"));
}

} // namespace
