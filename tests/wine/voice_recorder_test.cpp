// The voice recorder window over a real sound device: recording a spoken phrase fed into the
// microphone, playing it back, attaching it compressed or not, the suggested file names, and the
// messages when there is no sound device.
//
// The sound device is a private PulseAudio daemon with null sinks (scripts/sound-device.sh);
// scripts/test.sh starts it for the whole run. To run these tests by hand, start it first:
//     source scripts/sound-device.sh && kestro_start_sound_device
// Wine's PulseAudio driver finds it through PULSE_SERVER. The tests speak a phrase with espeak-ng,
// feed it into the microphone with pacat and decode the results with sox: Unix programs, which
// Wine starts like its own; each of them ends by itself and leaves a marker file when done.
#include <windows.h>

#include <mmsystem.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/attachment_names.h"
#include "compose/win/attachments.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/unix_command.h"
#include "support/voice_recording.h"

namespace {

constexpr int kPhraseRate = 8000; // the microphone runs at 8000 Hz, 8-bit mono

std::vector<double> ReadUnsigned8(const std::string& path) {
    const std::string bytes = ReadWholeFile(path);
    std::vector<double> samples;
    samples.reserve(bytes.size());
    for (unsigned char c : bytes) {
        samples.push_back((c - 128) / 128.0);
    }
    return samples;
}

std::vector<double> ReadSigned16(const std::string& path) {
    const std::string bytes = ReadWholeFile(path);
    std::vector<double> samples;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto value = static_cast<int16_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8);
        samples.push_back(value / 32768.0);
    }
    return samples;
}

// The loudness of the sound every 10 ms: the RMS of 20 ms windows.
std::vector<double> Envelope(const std::vector<double>& samples) {
    std::vector<double> envelope;
    for (size_t start = 0; start + 160 <= samples.size(); start += 80) {
        double sum = 0;
        for (size_t i = start; i < start + 160; ++i) {
            sum += samples[i] * samples[i];
        }
        envelope.push_back(std::sqrt(sum / 160));
    }
    return envelope;
}

// How well the recording's loudness follows the phrase's: the highest Pearson correlation of
// the phrase's envelope with an equally long stretch of the recording's envelope.
double EnvelopeMatch(const std::vector<double>& recording, const std::vector<double>& phrase) {
    const std::vector<double> r = Envelope(recording);
    const std::vector<double> p = Envelope(phrase);
    if (p.empty() || r.size() < p.size()) {
        return 0;
    }
    double pMean = 0;
    for (double v : p) {
        pMean += v;
    }
    pMean /= p.size();
    double best = -1;
    for (size_t lag = 0; lag + p.size() <= r.size(); ++lag) {
        double rMean = 0;
        for (size_t i = 0; i < p.size(); ++i) {
            rMean += r[lag + i];
        }
        rMean /= p.size();
        double cross = 0, rr = 0, pp = 0;
        for (size_t i = 0; i < p.size(); ++i) {
            const double a = r[lag + i] - rMean, b = p[i] - pMean;
            cross += a * b;
            rr += a * a;
            pp += b * b;
        }
        if (rr > 0 && pp > 0) {
            best = std::max(best, cross / std::sqrt(rr * pp));
        }
    }
    return best;
}

// Samples further than `threshold` from silence.
int LoudSamples(const std::vector<double>& samples, double threshold) {
    int count = 0;
    for (double v : samples) {
        count += std::fabs(v) > threshold ? 1 : 0;
    }
    return count;
}

HWND recorderWindow = nullptr;
int stopCommandsSeen = 0;

// Watches the recorder's queue for the Stop command the engine posts when playback ends.
LRESULT CALLBACK WatchStopCommands(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd == recorderWindow &&
        message->message == WM_COMMAND && LOWORD(message->wParam) == IDC_STOP_KEY) {
        ++stopCommandsSeen;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class VoiceRecorder : public MainWindowTest {
  protected:
    void SetUp() override {
        if (!TestSoundDeviceRunning()) {
            GTEST_SKIP() << "no test sound device: source scripts/sound-device.sh && "
                            "kestro_start_sound_device";
        }
        MainWindowTest::SetUp();
        stopCommandsSeen = 0;
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, WatchStopCommands, nullptr, GetCurrentThreadId());
    }

    void TearDown() override {
        if (hook_) {
            UnhookWindowsHookEx(hook_);
        }
        recorderWindow = nullptr;
        MainWindowTest::TearDown();
    }

    // plugin.ini with the voice encoder; the recorder reads it when it opens.
    void SelectEncoder(int audioSelection, int mp3Quality = 0) {
        SelectVoiceEncoder(folder_, audioSelection, mp3Quality);
    }

    // Opens the recorder from the main window and runs `inside` in it; returns when it closed.
    void WithRecorder(const std::function<void(HWND)>& inside) {
        ASSERT_TRUE(RunInRecorder(window_, [&](HWND dialog) {
            recorderWindow = dialog;
            inside(dialog);
        }));
    }

    // Speaks the phrase into folder/phrase.u8 (8000 Hz, unsigned 8-bit mono).
    std::string MakePhrase(const char* words) {
        const std::string wave = folder_ + "phrase.wav";
        const std::string raw = folder_ + "phrase.u8";
        UnixCommand speak(folder_, "espeak-ng -v en -s 150 -w " + Quoted(wave) + " '" + words +
                                       "' && sox " + Quoted(wave) + " -D -r 8000 -c 1 -b 8 " +
                                       "-e unsigned-integer -t raw " + Quoted(raw));
        EXPECT_EQ(speak.Wait(20000), 0);
        return raw;
    }

    // Starts playing the raw phrase into the microphone, in real time.
    UnixCommand FeedMicrophone(const std::string& raw) { return ::FeedMicrophone(folder_, raw); }

    // Records what Wine plays for `seconds` seconds into folder/speaker.u8.
    UnixCommand ListenToSpeaker(int seconds) {
        return UnixCommand(folder_, "timeout " + std::to_string(seconds) + " parec --raw " +
                                        "--format=u8 --rate=8000 --channels=1 -d " +
                                        Environment("KESTRO_TEST_SPEAKER") + ".monitor " +
                                        Quoted(folder_ + "speaker.u8"));
    }

    // Records for `milliseconds` and stops with the Stop key.
    static void RecordFor(HWND dialog, int milliseconds) {
        Command(dialog, IDC_RECORD_KEY);
        EXPECT_EQ(TextOf(dialog), "Recording...");
        PumpMessagesFor(milliseconds);
        Command(dialog, IDC_STOP_KEY);
        EXPECT_EQ(TextOf(dialog), "Voice Message");
        PumpMessagesFor(300); // the buffers the device gives back
    }

    std::string Attached(int slot) const { return attachmentTable.slots[slot].path; }

    HHOOK hook_ = nullptr;
};

TEST_F(VoiceRecorder, RecordsASpokenPhrasePlaysItBackAndAttachesItAsGsm) {
    SelectEncoder(0);
    const std::string phrase = MakePhrase("The quick brown fox jumps over the lazy dog");
    const std::vector<double> fed = ReadUnsigned8(phrase);
    ASSERT_GT(fed.size(), 2u * kPhraseRate) << "about three seconds of speech";

    WithRecorder([&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog), "Voice Message");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_VOICE_FILE_NAME)), "voicemsg.wav");
        Command(dialog, IDC_RECORD_KEY);
        EXPECT_EQ(TextOf(dialog), "Recording...");
        EXPECT_TRUE(FileExists(folder_ + "temptemp.tmp"));
        // Wine's capture stream takes a second or two to deliver its first sound: the phrase
        // starts after that, and the take (about 5.5 s) fills one buffer and part of the next.
        PumpMessagesFor(1500);
        UnixCommand feed = FeedMicrophone(phrase);
        EXPECT_EQ(feed.Wait(8000), 0);
        PumpMessagesFor(700);
        Command(dialog, IDC_STOP_KEY);
        EXPECT_EQ(TextOf(dialog), "Voice Message");
        PumpMessagesFor(300);

        UnixCommand speaker = ListenToSpeaker(9);
        PumpMessagesFor(300);
        Command(dialog, IDC_PLAY_KEY);
        EXPECT_EQ(TextOf(dialog), "Playing Message");
        const DWORD end = GetTickCount() + 12000;
        while (stopCommandsSeen == 0 && static_cast<int>(end - GetTickCount()) > 0) {
            PumpMessagesFor(50);
        }
        EXPECT_EQ(stopCommandsSeen, 1) << "the engine posts Stop when the recording ran out";
        EXPECT_EQ(TextOf(dialog), "Voice Message");
        speaker.Wait(12000);
        Command(dialog, IDOK);
    });
    EXPECT_TRUE(MessageBoxes::Calls().empty());

    ASSERT_EQ(AttachmentCount(), 1);
    EXPECT_EQ(Attached(0), Lower(folder_ + "voicemsg.wav"));
    char label[32];
    AttachmentDisplayName(Attached(0).c_str(), label);
    EXPECT_STREQ(label, "voicemsg.wav");
    EXPECT_TRUE(IsWindowVisible(composeWindows.attachStrip));
    EXPECT_FALSE(FileExists(folder_ + "temptemp.tmp")) << "the engine deletes it on close";
    EXPECT_TRUE(FileExists(folder_ + "tempwave.wav")) << "it stays after compression";

    const std::string gsm = ReadWholeFile(folder_ + "voicemsg.wav");
    ASSERT_GT(gsm.size(), 60u);
    EXPECT_EQ(gsm.substr(0, 4), "RIFF");
    EXPECT_EQ(gsm.substr(8, 8), std::string("WAVEfmt ", 8));
    EXPECT_EQ(static_cast<unsigned char>(gsm[20]), 49) << "GSM 6.10";

    UnixCommand decode(folder_, "sox " + Quoted(folder_ + "voicemsg.wav") +
                                    " -t raw -e signed-integer -b 16 -c 1 -r 8000 " +
                                    Quoted(folder_ + "decoded.s16"));
    ASSERT_EQ(decode.Wait(20000), 0);
    const std::vector<double> decoded = ReadSigned16(folder_ + "decoded.s16");
    EXPECT_GT(decoded.size(), fed.size()) << "the whole phrase was recorded";
    // The loudness of the decoded recording follows the fed phrase syllable by syllable (0.96
    // here), and not the same phrase played backwards (0.16).
    EXPECT_GT(EnvelopeMatch(decoded, fed), 0.85) << "envelope correlation with the phrase";
    const std::vector<double> backwards(fed.rbegin(), fed.rend());
    EXPECT_LT(EnvelopeMatch(decoded, backwards), 0.6) << "envelope correlation, backwards";
    // Playback reached the speaker; Wine may drop parts of it, so only its presence counts.
    EXPECT_GT(LoudSamples(ReadUnsigned8(folder_ + "speaker.u8"), 0.05), kPhraseRate / 4);
}

// A second take replacing the first is the engine's rule, tested natively; here the Attach key
// pressed while recording only stops, and the uncompressed take is attached under its name.
TEST_F(VoiceRecorder, AttachWhileRecordingOnlyStopsAndTheTakeIsAttachedUncompressed) {
    SelectEncoder(2); // no compression: the attachment is the recording itself
    WithRecorder([&](HWND dialog) {
        Command(dialog, IDC_RECORD_KEY);
        // Wine's capture streams start delivering sound up to about two seconds late: the take
        // is long enough to hold some.
        PumpMessagesFor(3000);
        Command(dialog, IDOK);
        EXPECT_TRUE(IsWindow(dialog)) << "Attach while recording only stops";
        EXPECT_EQ(TextOf(dialog), "Voice Message");
        EXPECT_EQ(AttachmentCount(), 0);
        PumpMessagesFor(300);
        Command(dialog, IDOK);
    });
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    ASSERT_EQ(AttachmentCount(), 1);
    EXPECT_EQ(Attached(0), Lower(folder_ + "voicemsg.wav"));
    EXPECT_FALSE(FileExists(folder_ + "tempwave.wav")) << "renamed to the chosen name";
    EXPECT_EQ(ReadWholeFile(folder_ + "voicemsg.wav").substr(0, 4), "RIFF");
}

TEST_F(VoiceRecorder, AttachWithoutRecordingAttachesNothingAndCancelDeletesTheTake) {
    SelectEncoder(0);
    WithRecorder([&](HWND dialog) { Command(dialog, IDOK); });
    EXPECT_EQ(AttachmentCount(), 0);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_FALSE(FileExists(folder_ + "tempwave.wav"));

    WithRecorder([&](HWND dialog) {
        RecordFor(dialog, 600);
        EXPECT_TRUE(FileExists(folder_ + "temptemp.tmp"));
        Command(dialog, IDCANCEL);
    });
    EXPECT_EQ(AttachmentCount(), 0);
    EXPECT_FALSE(FileExists(folder_ + "temptemp.tmp"));
    EXPECT_FALSE(FileExists(folder_ + "tempwave.wav"));
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(VoiceRecorder, RefusesAnInvalidNameAndRenamesWavToMp3ForTheMp3Encoder) {
    SelectEncoder(1);
    ASSERT_TRUE(CopyTestProgram("kto2mp3.exe", folder_));

    WithRecorder([&](HWND dialog) {
        HWND name = GetDlgItem(dialog, IDC_VOICE_FILE_NAME);
        EXPECT_EQ(TextOf(name), "voicemsg.mp3");
        RecordFor(dialog, 3000);
        SetWindowTextA(name, "what?.wav");
        Command(dialog, IDOK);
        ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
        ExpectMessageBox(0,
                         "A filename cannot contain any of the following characters:\n"
                         "                      \\ / : * ? \" < > | ",
                         "Rename Sound File", MB_OK | MB_ICONSTOP);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(GetFocus(), name);
        SetWindowTextA(name, "note.wav");
        Command(dialog, IDOK);
    });
    EXPECT_EQ(MessageBoxes::Calls().size(), 1u);
    ASSERT_EQ(AttachmentCount(), 1);
    EXPECT_EQ(Attached(0), Lower(folder_ + "note.mp3"));
    EXPECT_GT(ReadWholeFile(folder_ + "note.mp3").size(), 100u);
}

TEST_F(VoiceRecorder, SuggestsTheNextFreeVoiceFileName) {
    SelectEncoder(0);
    auto suggestion = [&]() {
        std::string name;
        WithRecorder([&](HWND dialog) {
            name = TextOf(GetDlgItem(dialog, IDC_VOICE_FILE_NAME));
            Command(dialog, IDCANCEL);
        });
        return name;
    };
    auto attach = [&](const std::string& file) {
        WriteWholeFile(folder_ + file, "RIFF");
        ASSERT_EQ(AddAttachment((folder_ + file).c_str()), 1);
    };
    // The counting rules are the file-name rules' own; the recorder must ask them with the
    // attachment table and the chosen encoder.
    EXPECT_EQ(suggestion(), "voicemsg.wav");
    attach("voicemsg.wav");
    attach("notes.txt");
    EXPECT_EQ(suggestion(), "voicem01.wav");
    SelectEncoder(1);
    EXPECT_EQ(suggestion(), "voicem01.mp3");
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

// Runs in a child process started with Wine's sound drivers switched off (see below).
class VoiceRecorderNoDevice : public MainWindowTest {};

TEST_F(VoiceRecorderNoDevice, DISABLED_ReportsTheMissingDeviceAndOnlyCancelIsUseful) {
    ASSERT_EQ(waveInGetNumDevs(), 0u);
    bool opened = false;
    WhenDialogAppears([&](HWND dialog) {
        opened = true;
        EXPECT_EQ(TextOf(dialog), "Voice Message");
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_VOICE_FILE_NAME)), "");
        Command(dialog, IDC_RECORD_KEY);
        EXPECT_EQ(TextOf(dialog), "Voice Message") << "nothing to record with";
        Command(dialog, IDC_PLAY_KEY);
        Command(dialog, IDCANCEL);
    });
    Command(window_, IDM_VOICE_MESSAGE);
    EXPECT_TRUE(opened);
    const auto& calls = MessageBoxes::Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "No wave audio recording devices found.");
    EXPECT_EQ(calls[0].caption, "Error");
    EXPECT_EQ(calls[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(calls[1].text, "Sound Device Not Ready!");
    EXPECT_EQ(calls[1].caption, "Voice Attachment");
    EXPECT_EQ(calls[1].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(AttachmentCount(), 0);
    EXPECT_FALSE(FileExists(folder_ + "temptemp.tmp"));
}

// Wine reads its choice of sound driver when a process starts; an empty choice means none.
class NoSoundDriverForNewProcesses {
  public:
    NoSoundDriverForNewProcesses() {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
        DWORD size = sizeof previous_;
        had_ = RegQueryValueExA(key_, "Audio", nullptr, nullptr, reinterpret_cast<BYTE*>(previous_),
                                &size) == ERROR_SUCCESS;
        RegSetValueExA(key_, "Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    }
    ~NoSoundDriverForNewProcesses() {
        if (had_) {
            RegSetValueExA(key_, "Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_),
                           static_cast<DWORD>(std::strlen(previous_) + 1));
        } else {
            RegDeleteValueA(key_, "Audio");
        }
        RegCloseKey(key_);
    }

  private:
    HKEY key_ = nullptr;
    char previous_[256] = {};
    bool had_ = false;
};

TEST(VoiceRecorderWithoutSoundDevice, ShowsNoDeviceFoundAndSoundDeviceNotReady) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string line = std::string("\"") + exe +
                       "\" --gtest_filter=VoiceRecorderNoDevice.DISABLED_* "
                       "--gtest_also_run_disabled_tests --gtest_brief=1";
    DWORD exitCode = 1;
    {
        NoSoundDriverForNewProcesses noDriver;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                   &startup, &process));
        // The child's windows may send messages to ours: keep them flowing while waiting.
        const DWORD end = GetTickCount() + 60000;
        DWORD waited = WAIT_TIMEOUT;
        while (waited == WAIT_TIMEOUT && static_cast<int>(end - GetTickCount()) > 0) {
            waited = WaitForSingleObject(process.hProcess, 50);
            PumpMessages();
        }
        EXPECT_EQ(waited, WAIT_OBJECT_0);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    EXPECT_EQ(exitCode, 0u) << "the test in the child process failed";
}

} // namespace
