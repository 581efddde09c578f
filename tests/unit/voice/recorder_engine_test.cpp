// The recording and playback engine over a scripted device: the capture format, every state
// transition with buffer completions in each order a device can deliver them, failures at each
// step with their messages, short writes, short recordings, and the temporary file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "audio/wave_file.h"
#include "plugins/plugin_settings.h"
#include "voice/recorder_engine.h"

#include "support/test_bytes.h"

namespace {

// The device as a script: every call is logged, named calls can be made to fail, and the test
// decides when buffers come back.
struct ScriptedDevice {
    std::vector<std::string> calls;
    std::set<std::string> failing;
    uint32_t maxFormat = 50;
    bool tagFound = true;
    bool formatFound = true;
    uint32_t inputDevices = 1;
    uint32_t position = 0;
    std::deque<int> held; // buffers the device holds, in the order it got them
    unsigned char* data[2] = {};
    std::vector<std::string> played; // the bytes of every output write
    std::vector<std::string> messages;
    std::set<int> timers;
    int stopCommands = 0;
    int redraws = 0;

    bool Call(const std::string& name) {
        calls.push_back(name);
        return failing.count(name) == 0;
    }
};

ScriptedDevice& Script(void* context) {
    return *static_cast<ScriptedDevice*>(context);
}

const char* Dir(WaveDirection direction) {
    return direction == WaveDirection::Input ? "in" : "out";
}

RecorderDevice MakeDevice(ScriptedDevice& script) {
    RecorderDevice device = {};
    device.context = &script;
    device.maxFormatSize = [](void* c, uint32_t* size) {
        *size = Script(c).maxFormat;
        return Script(c).Call("maxFormatSize");
    };
    device.describeFormat = [](void* c, const unsigned char*, bool* tag, bool* format) {
        *tag = Script(c).tagFound;
        *format = Script(c).formatFound;
    };
    device.inputDeviceCount = [](void* c) { return Script(c).inputDevices; };
    device.open = [](void* c, WaveDirection d, const unsigned char*) {
        return Script(c).Call(std::string("open ") + Dir(d));
    };
    device.prepare = [](void* c, WaveDirection d, int i, unsigned char* data, uint32_t length) {
        EXPECT_EQ(length, kRecorderBufferSize);
        Script(c).data[i] = data;
        return Script(c).Call(std::string("prepare ") + Dir(d) + " " + std::to_string(i));
    };
    device.unprepare = [](void* c, WaveDirection d, int i) {
        return Script(c).Call(std::string("unprepare ") + Dir(d) + " " + std::to_string(i));
    };
    device.addInput = [](void* c, int i) {
        if (!Script(c).Call("add " + std::to_string(i))) {
            return false;
        }
        Script(c).held.push_back(i);
        return true;
    };
    device.startInput = [](void* c) { return Script(c).Call("start"); };
    device.writeOutput = [](void* c, int i, uint32_t length) {
        ScriptedDevice& s = Script(c);
        if (!s.Call("write " + std::to_string(i) + " " + std::to_string(length))) {
            return false;
        }
        s.played.emplace_back(reinterpret_cast<const char*>(s.data[i]), length);
        s.held.push_back(i);
        return true;
    };
    device.reset = [](void* c, WaveDirection d) {
        return Script(c).Call(std::string("reset ") + Dir(d));
    };
    device.close = [](void* c, WaveDirection d) {
        return Script(c).Call(std::string("close ") + Dir(d));
    };
    device.position = [](void* c, WaveDirection, uint32_t* bytes) {
        *bytes = Script(c).position;
        return true;
    };
    device.setTimer = [](void* c, int id, int ms) {
        EXPECT_EQ(ms, 250);
        Script(c).timers.insert(id);
    };
    device.killTimer = [](void* c, int id) { Script(c).timers.erase(id); };
    device.redraw = [](void* c) { ++Script(c).redraws; };
    device.postStopCommand = [](void* c) { ++Script(c).stopCommands; };
    device.report = [](void* c, const char* text, bool owned) {
        Script(c).messages.push_back(std::string(text) + (owned ? "" : " [no owner]"));
    };
    return device;
}

// Real files with a limit: writes beyond `writeLimit` bytes in total come up short, and a
// create or open can be refused.
struct LimitedFiles {
    StdioRecorderFile file = {};
    RecorderFiles real = {};
    size_t writeLimit = SIZE_MAX;
    size_t written = 0;
    bool refuseCreate = false;
    bool refuseOpen = false;
    int creates = 0;
    int closes = 0;
};

LimitedFiles& Limited(void* context) {
    return *static_cast<LimitedFiles*>(context);
}

RecorderFiles MakeFiles(LimitedFiles& limited) {
    limited.real = StdioRecorderFiles(&limited.file);
    RecorderFiles files = {};
    files.context = &limited;
    files.create = [](void* c, const char* path) {
        ++Limited(c).creates;
        return !Limited(c).refuseCreate && Limited(c).real.create(Limited(c).real.context, path);
    };
    files.openForReading = [](void* c, const char* path) {
        return !Limited(c).refuseOpen &&
               Limited(c).real.openForReading(Limited(c).real.context, path);
    };
    files.write = [](void* c, const unsigned char* data, uint32_t count) {
        LimitedFiles& f = Limited(c);
        const size_t room = f.writeLimit > f.written ? f.writeLimit - f.written : 0;
        const uint32_t allowed = count < room ? count : static_cast<uint32_t>(room);
        const uint32_t done = f.real.write(f.real.context, data, allowed);
        f.written += done;
        return done;
    };
    files.read = [](void* c, unsigned char* data, uint32_t count) {
        return Limited(c).real.read(Limited(c).real.context, data, count);
    };
    files.close = [](void* c) {
        ++Limited(c).closes;
        return Limited(c).real.close(Limited(c).real.context);
    };
    files.remove = [](void* c, const char* path) { Limited(c).real.remove(nullptr, path); };
    return files;
}

PluginSettings Settings(int audioSelection, int mp3Quality = 0) {
    PluginSettings settings = {};
    settings.audioSelection = audioSelection;
    settings.mp3Quality = mp3Quality;
    ApplyCaptureFormat(settings);
    return settings;
}

class RecorderEngineTest : public testing::Test {
  protected:
    void SetUp() override {
        directory_ = TempPath(""); // a prefix named after the test
        engine_.device = MakeDevice(device_);
        engine_.files = MakeFiles(files_);
    }
    void TearDown() override { ReleaseRecorder(engine_); }

    void Prepare(int audioSelection = kAudioGsm) {
        ASSERT_EQ(PrepareRecorder(engine_, Settings(audioSelection), directory_.c_str()), 0);
        device_.calls.clear();
    }

    // The device hands back its oldest buffer holding `bytes` bytes of `fill`.
    void Complete(uint32_t bytes, char fill) {
        ASSERT_FALSE(device_.held.empty());
        const int index = device_.held.front();
        device_.held.pop_front();
        std::memset(device_.data[index], fill, bytes);
        OnInputBufferDone(engine_, index, bytes);
    }

    // A reset hands back every buffer: the one being filled with `bytes`, the others empty.
    void ReturnAfterReset(uint32_t bytes, char fill) {
        bool first = true;
        while (!device_.held.empty()) {
            Complete(first ? bytes : 0, fill);
            first = false;
        }
    }

    void PlayedBufferDone() {
        ASSERT_FALSE(device_.held.empty());
        const int index = device_.held.front();
        device_.held.pop_front();
        OnOutputBufferDone(engine_, index);
    }

    std::string TempFile() const { return directory_ + kRecorderTempName; }

    void Record(const std::string& take) {
        ASSERT_EQ(StartRecording(engine_), 0);
        size_t done = 0;
        while (take.size() - done >= kRecorderBufferSize) {
            Complete(kRecorderBufferSize, take[done]);
            done += kRecorderBufferSize;
        }
        StopRecording(engine_);
        ReturnAfterReset(static_cast<uint32_t>(take.size() - done),
                         done < take.size() ? take[done] : 0);
        ASSERT_EQ(engine_.deviceOpen, 0);
    }

    std::string directory_;
    ScriptedDevice device_;
    LimitedFiles files_;
    RecorderEngine engine_ = {};
};

std::string Bytes(size_t count, char fill) {
    return std::string(count, fill);
}

TEST_F(RecorderEngineTest, PrepareBuildsTheCaptureFormatOfEachVoiceEncoder) {
    const struct {
        int selection;
        int quality;
        uint32_t rate, bytesPerSecond;
        uint16_t align, bits;
    } cases[] = {
        {kAudioGsm, 0, 8000, 8000, 1, 8},       {kAudioUncompressed, 0, 8000, 8000, 1, 8},
        {kAudioMp3, 0, 16000, 16000, 1, 8},     {kAudioMp3, 1, 8000, 16000, 2, 16},
        {kAudioCustom, 0, 44100, 88200, 2, 16},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(PrepareRecorder(engine_, Settings(c.selection, c.quality), directory_.c_str()),
                  0);
        ASSERT_EQ(engine_.captureFormatSize, 50u);
        const unsigned char* f = engine_.captureFormat;
        const std::string expected = std::string("\x01\x00\x01\x00", 4);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(f), 4), expected);
        const WaveFormatFields fields = ReadWaveFormat(f, engine_.captureFormatSize);
        EXPECT_EQ(fields.samplesPerSec, c.rate);
        EXPECT_EQ(fields.avgBytesPerSec, c.bytesPerSecond);
        EXPECT_EQ(fields.blockAlign, c.align);
        EXPECT_EQ(fields.bitsPerSample, c.bits);
        EXPECT_EQ(fields.extraSize, 0);
        for (uint32_t i = 18; i < engine_.captureFormatSize; ++i) {
            EXPECT_EQ(f[i], 0) << "byte " << i;
        }
        EXPECT_EQ(engine_.bufferLength, 32000u);
        EXPECT_EQ(CaptureBytesPerSecond(engine_), c.bytesPerSecond);
        ReleaseRecorder(engine_);
    }
    EXPECT_TRUE(device_.messages.empty());
    EXPECT_EQ(CaptureBytesPerSecond(engine_), 0u) << "released";
}

TEST_F(RecorderEngineTest, PrepareSetsTheTemporaryPathAndTakesAtLeastAFullFormat) {
    device_.maxFormat = 4;
    ASSERT_EQ(PrepareRecorder(engine_, Settings(kAudioGsm), directory_.c_str()), 0);
    EXPECT_EQ(engine_.captureFormatSize, 18u);
    EXPECT_EQ(std::string(engine_.tempPath), directory_ + "temptemp.tmp");
    EXPECT_EQ(engine_.state, kRecorderStopped);
    EXPECT_EQ(engine_.recordedLength, 0u);
}

TEST_F(RecorderEngineTest, PrepareFailuresAndWarnings) {
    device_.tagFound = false;
    device_.formatFound = false;
    device_.inputDevices = 0;
    EXPECT_EQ(PrepareRecorder(engine_, Settings(kAudioGsm), directory_.c_str()), -1);
    EXPECT_EQ(device_.messages,
              (std::vector<std::string>{"Warning, FormatTagDetails function failed [no owner]",
                                        "Warning, FormatDetails function failed [no owner]",
                                        "No wave audio recording devices found."}));
    EXPECT_EQ(StartRecording(engine_), -1) << "nothing to record with";
    EXPECT_EQ(StartPlayback(engine_), -1);
    ReleaseRecorder(engine_);
    ReleaseRecorder(engine_);

    device_.messages.clear();
    device_.failing.insert("maxFormatSize");
    EXPECT_EQ(PrepareRecorder(engine_, Settings(kAudioGsm), directory_.c_str()), -1);
    EXPECT_EQ(device_.messages,
              std::vector<std::string>{"Error getting the max compression format size."});
}

TEST_F(RecorderEngineTest, RecordsWholeBuffersAndTheLastPartialOneInOrder) {
    Prepare();
    ASSERT_EQ(StartRecording(engine_), 0);
    EXPECT_EQ(device_.calls, (std::vector<std::string>{"open in", "prepare in 0", "prepare in 1",
                                                       "add 0", "start", "add 1"}));
    EXPECT_EQ(engine_.state, kRecorderRecording);
    EXPECT_EQ(device_.timers, std::set<int>{1});
    EXPECT_EQ(files_.creates, 1);

    Complete(32000, 'a');
    Complete(32000, 'b');
    Complete(32000, 'c');
    EXPECT_EQ(device_.held, (std::deque<int>{1, 0})) << "each buffer goes back at once";
    device_.position = 100000;
    UpdateRecordPosition(engine_);
    EXPECT_EQ(engine_.display.position, 100000u);

    device_.calls.clear();
    StopRecording(engine_);
    EXPECT_EQ(engine_.state, kRecorderStopped);
    EXPECT_EQ(engine_.display.stoppedLength, 100000u) << "the last position shown";
    EXPECT_TRUE(device_.timers.empty());
    EXPECT_EQ(device_.calls, std::vector<std::string>{"reset in"});
    EXPECT_EQ(engine_.deviceOpen, 1) << "the device gives its buffers back first";

    ReturnAfterReset(4321, 'd');
    EXPECT_EQ(device_.calls, (std::vector<std::string>{"reset in", "unprepare in 0",
                                                       "unprepare in 1", "close in"}));
    EXPECT_EQ(engine_.deviceOpen, 0);
    EXPECT_EQ(engine_.recordedLength, 96000u + 4321u);
    EXPECT_EQ(engine_.display.position, engine_.recordedLength);
    EXPECT_EQ(engine_.display.stoppedLength, engine_.recordedLength);
    EXPECT_EQ(files_.closes, 1);
    EXPECT_EQ(ReadBytes(TempFile()),
              Bytes(32000, 'a') + Bytes(32000, 'b') + Bytes(32000, 'c') + Bytes(4321, 'd'));
    EXPECT_TRUE(device_.messages.empty());

    // Completions of the closed device carry nothing.
    OnInputBufferDone(engine_, 0, 100);
    EXPECT_EQ(engine_.recordedLength, 100321u);
    EXPECT_EQ(files_.closes, 1);
    EXPECT_TRUE(device_.messages.empty());
}

TEST_F(RecorderEngineTest, ARecordingShorterThanOneBufferIsWrittenByTheResetCompletion) {
    Prepare();
    Record(Bytes(5000, 'x'));
    EXPECT_EQ(engine_.recordedLength, 5000u);
    EXPECT_EQ(ReadBytes(TempFile()), Bytes(5000, 'x'));
    EXPECT_TRUE(device_.messages.empty());
}

TEST_F(RecorderEngineTest, AFullBufferStillQueuedWhenStopIsPressedIsKeptWithTheLastOne) {
    Prepare();
    ASSERT_EQ(StartRecording(engine_), 0);
    // Buffer 0 filled and its completion waits in the queue when the user stops; the reset
    // then returns buffer 1 with the last piece.
    std::memset(device_.data[0], 'a', 32000);
    device_.held.pop_front();
    StopRecording(engine_);
    OnInputBufferDone(engine_, 0, 32000);
    EXPECT_EQ(engine_.deviceOpen, 1) << "buffer 1 is still to come";
    Complete(700, 'b');
    EXPECT_EQ(engine_.deviceOpen, 0);
    EXPECT_EQ(engine_.recordedLength, 32700u);
    EXPECT_EQ(ReadBytes(TempFile()), Bytes(32000, 'a') + Bytes(700, 'b'));
}

TEST_F(RecorderEngineTest, AShortWriteStopsTheRecordingAndKeepsWhatWasWritten) {
    Prepare();
    files_.writeLimit = 40000;
    ASSERT_EQ(StartRecording(engine_), 0);
    Complete(32000, 'a');
    device_.calls.clear();
    Complete(32000, 'b'); // only 8000 bytes fit
    EXPECT_EQ(device_.messages,
              std::vector<std::string>{"Error writing data to temporary file. [no owner]"});
    EXPECT_EQ(engine_.state, kRecorderStopped);
    EXPECT_EQ(device_.calls.front(), "reset in");
    ReturnAfterReset(3000, 'c');
    EXPECT_EQ(engine_.deviceOpen, 0);
    EXPECT_EQ(engine_.recordedLength, 40000u);
    EXPECT_EQ(ReadBytes(TempFile()), Bytes(32000, 'a') + Bytes(8000, 'b'));
    EXPECT_EQ(device_.messages.size(), 1u);
}

TEST_F(RecorderEngineTest, ASecondTakeReplacesTheFirst) {
    Prepare();
    Record(Bytes(70000, 'f'));
    EXPECT_EQ(engine_.recordedLength, 70000u);
    Record(Bytes(1000, 's'));
    EXPECT_EQ(engine_.recordedLength, 1000u);
    EXPECT_EQ(ReadBytes(TempFile()), Bytes(1000, 's'));
}

TEST_F(RecorderEngineTest, StartRecordingFailuresCloseEverythingOnce) {
    const struct {
        const char* failing;
        int result;
        std::vector<std::string> calls;
        std::vector<std::string> messages;
    } cases[] = {
        {"open in", -1, {"open in"}, {"Could not open the input device for recording."}},
        {"prepare in 1",
         -2,
         {"open in", "prepare in 0", "prepare in 1", "unprepare in 0", "close in"},
         {"Error preparing header for recording."}},
        {"add 0",
         -3,
         {"open in", "prepare in 0", "prepare in 1", "add 0", "reset in", "unprepare in 0",
          "unprepare in 1", "close in"},
         {"Error adding buffer."}},
        {"start",
         -5,
         {"open in", "prepare in 0", "prepare in 1", "add 0", "start", "reset in", "unprepare in 0",
          "unprepare in 1", "close in"},
         {"Error starting wave record."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        Prepare();
        device_.failing = {c.failing};
        device_.messages.clear();
        device_.held.clear();
        EXPECT_EQ(StartRecording(engine_), c.result);
        EXPECT_EQ(device_.calls, c.calls);
        EXPECT_EQ(device_.messages, c.messages);
        EXPECT_EQ(engine_.deviceOpen, 0);
        EXPECT_EQ(engine_.state, kRecorderStopped);
        EXPECT_TRUE(device_.timers.empty());
        EXPECT_EQ(files_.file.file.get(), nullptr) << "the temporary file is closed";
        ReleaseRecorder(engine_);
    }
}

TEST_F(RecorderEngineTest, ATemporaryFileThatCannotBeCreatedEndsTheStart) {
    Prepare();
    files_.refuseCreate = true;
    EXPECT_EQ(StartRecording(engine_), -4);
    EXPECT_EQ(device_.messages,
              std::vector<std::string>{"Error creating temporary file. [no owner]"});
    EXPECT_EQ(device_.calls, (std::vector<std::string>{"open in", "prepare in 0", "prepare in 1",
                                                       "add 0", "reset in", "unprepare in 0",
                                                       "unprepare in 1", "close in"}));
    // The buffer the reset returns arrives after the close and is ignored.
    Complete(10, 'z');
    EXPECT_EQ(device_.messages.size(), 1u);
    EXPECT_EQ(engine_.recordedLength, 0u);
}

TEST_F(RecorderEngineTest, TheSecondBufferFailingStopsAfterTheFirstReturns) {
    Prepare();
    device_.failing = {"add 1"};
    EXPECT_EQ(StartRecording(engine_), -6);
    EXPECT_EQ(device_.messages, std::vector<std::string>{"Error adding buffer."});
    EXPECT_EQ(engine_.state, kRecorderStopped);
    EXPECT_EQ(engine_.deviceOpen, 1);
    Complete(12, 'q');
    EXPECT_EQ(engine_.deviceOpen, 0);
    EXPECT_EQ(engine_.recordedLength, 12u);
}

TEST_F(RecorderEngineTest, AReAddThatFailsStopsTheRecording) {
    Prepare();
    ASSERT_EQ(StartRecording(engine_), 0);
    device_.failing = {"add 0"};
    Complete(32000, 'a'); // buffer 0 cannot go back
    EXPECT_EQ(device_.messages, std::vector<std::string>{"Error adding buffer."});
    EXPECT_EQ(engine_.state, kRecorderStopped);
    Complete(5, 'b'); // buffer 1, given back by the reset
    EXPECT_EQ(engine_.deviceOpen, 0);
    EXPECT_EQ(ReadBytes(TempFile()), Bytes(32000, 'a') + Bytes(5, 'b'));
}

TEST_F(RecorderEngineTest, CloseFailuresAreReported) {
    Prepare();
    device_.failing = {"unprepare in 0", "unprepare in 1", "close in"};
    Record(Bytes(10, 'a'));
    EXPECT_EQ(device_.messages, (std::vector<std::string>{"Error in waveInUnprepareHeader (1)",
                                                          "Error in waveInUnprepareHeader (2)",
                                                          "Error closing input device."}));
    EXPECT_EQ(engine_.recordedLength, 10u);
}

TEST_F(RecorderEngineTest, PlaysARecordingShorterThanOneBufferAndSaysWhenItEnds) {
    Prepare();
    Record(Bytes(5000, 'p'));
    device_.calls.clear();
    device_.redraws = 0;
    ASSERT_EQ(StartPlayback(engine_), 0);
    EXPECT_EQ(device_.calls, (std::vector<std::string>{"open out", "prepare out 0", "prepare out 1",
                                                       "write 0 5000"}));
    EXPECT_EQ(engine_.state, kRecorderPlaying);
    EXPECT_EQ(engine_.morePlayback, 0u) << "the second write found nothing";
    EXPECT_EQ(engine_.display.maximum, 5000u);
    EXPECT_EQ(device_.timers, std::set<int>{2});
    device_.position = 2000;
    UpdatePlayPosition(engine_);
    EXPECT_EQ(engine_.display.position, 2000u);

    PlayedBufferDone();
    EXPECT_EQ(engine_.state, kRecorderStopped);
    EXPECT_EQ(engine_.deviceOpen, 0);
    EXPECT_EQ(device_.stopCommands, 1);
    EXPECT_EQ(engine_.display.position, 5000u);
    EXPECT_TRUE(device_.timers.empty());
    EXPECT_EQ(device_.played, std::vector<std::string>{Bytes(5000, 'p')});
    EXPECT_EQ(device_.calls.back(), "close out");
    EXPECT_EQ(files_.file.file.get(), nullptr);
    EXPECT_TRUE(device_.messages.empty());
}

TEST_F(RecorderEngineTest, PlaysSeveralBuffersInOrderAndStopsAfterTheLast) {
    Prepare();
    const std::string take = Bytes(32000, 'a') + Bytes(32000, 'b') + Bytes(10000, 'c');
    Record(take);
    ASSERT_EQ(StartPlayback(engine_), 0);
    EXPECT_EQ(device_.held, (std::deque<int>{0, 1}));
    PlayedBufferDone(); // 'a' done, 'c' goes out
    EXPECT_EQ(device_.stopCommands, 0);
    PlayedBufferDone(); // 'b' done, nothing left to read
    EXPECT_EQ(engine_.morePlayback, 0u);
    EXPECT_EQ(device_.stopCommands, 0);
    EXPECT_EQ(engine_.state, kRecorderPlaying);
    PlayedBufferDone(); // 'c' done
    EXPECT_EQ(engine_.state, kRecorderStopped);
    EXPECT_EQ(device_.stopCommands, 1);
    std::string played;
    for (const std::string& piece : device_.played) {
        played += piece;
    }
    EXPECT_EQ(played, take);
    EXPECT_EQ(engine_.display.position, 74000u);
}

TEST_F(RecorderEngineTest, StoppingPlaybackByHandAndCompletionsAfterIt) {
    Prepare();
    Record(Bytes(80000, 'a'));
    ASSERT_EQ(StartPlayback(engine_), 0);
    EXPECT_EQ(StartPlayback(engine_), -1) << "a device is open";
    EXPECT_EQ(StartRecording(engine_), -1);
    device_.position = 1234;
    UpdatePlayPosition(engine_);
    StopPlayback(engine_, 1);
    EXPECT_EQ(engine_.state, kRecorderStopped);
    EXPECT_EQ(engine_.display.position, 1234u) << "a stop by hand keeps the position";
    EXPECT_EQ(device_.stopCommands, 1);
    const size_t writes = device_.played.size();
    PlayedBufferDone();
    PlayedBufferDone();
    EXPECT_EQ(device_.played.size(), writes);
    EXPECT_EQ(device_.stopCommands, 1);
    EXPECT_TRUE(device_.messages.empty());
    ASSERT_EQ(StartPlayback(engine_), 0) << "playable again";
}

TEST_F(RecorderEngineTest, PlayingAnEmptyRecordingEndsAtOnce) {
    Prepare();
    Record("");
    EXPECT_EQ(engine_.recordedLength, 0u);
    ASSERT_EQ(StartPlayback(engine_), 0);
    EXPECT_EQ(engine_.state, kRecorderStopped);
    EXPECT_EQ(engine_.deviceOpen, 0);
    EXPECT_EQ(device_.stopCommands, 1);
}

TEST_F(RecorderEngineTest, StartPlaybackFailures) {
    Prepare();
    Record(Bytes(100, 'a'));
    const struct {
        const char* failing;
        int result;
        const char* message;
        int stopCommands;
    } cases[] = {
        {"open out", -1, "Error opening wave out device.", 0},
        {"prepare out 0", -2, "Error preparing header for playing.", 0},
        {"write 0 100", -4, "Error writing wave buffer.", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        device_.failing = {c.failing};
        device_.messages.clear();
        device_.stopCommands = 0;
        EXPECT_EQ(StartPlayback(engine_), c.result);
        EXPECT_EQ(device_.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(engine_.deviceOpen, 0);
        EXPECT_EQ(engine_.state, kRecorderStopped);
        EXPECT_EQ(device_.stopCommands, c.stopCommands);
        EXPECT_EQ(files_.file.file.get(), nullptr);
    }
    device_.failing.clear();
    device_.messages.clear();
    files_.refuseOpen = true;
    EXPECT_EQ(StartPlayback(engine_), -3);
    EXPECT_EQ(device_.messages,
              std::vector<std::string>{"Error opening temporary wave file for read."});
    EXPECT_EQ(device_.calls.back(), "close out");
}

TEST_F(RecorderEngineTest, ReleaseClosesARunningRecordingAndDeletesTheTemporaryFile) {
    Prepare();
    ASSERT_EQ(StartRecording(engine_), 0);
    Complete(32000, 'a');
    ASSERT_TRUE(Exists(TempFile()));
    device_.calls.clear();
    ReleaseRecorder(engine_);
    EXPECT_EQ(device_.calls, (std::vector<std::string>{"reset in", "unprepare in 0",
                                                       "unprepare in 1", "close in"}));
    EXPECT_FALSE(Exists(TempFile()));
    EXPECT_EQ(engine_.captureFormat, nullptr);
    EXPECT_EQ(engine_.buffers[0], nullptr);
    EXPECT_TRUE(device_.timers.empty());
    ReleaseRecorder(engine_);
    EXPECT_EQ(device_.calls.size(), 4u);
}

TEST_F(RecorderEngineTest, TheRecordingBecomesTempwaveWav) {
    Prepare();
    Record(Bytes(16000, 'w'));
    RecordedWave recorded = {engine_.captureFormat, engine_.captureFormatSize,
                             engine_.recordedLength, engine_.tempPath};
    WaveMessage message = {};
    ASSERT_EQ(WriteRecordedWave(recorded, directory_.c_str(), message), 0);
    const std::string wave = ReadBytes(directory_ + "tempwave.wav");
    // RIFF, fmt of the ACM maximum format size (50), fact, data.
    ASSERT_EQ(wave.size(), 12u + 8 + 50 + 8 + 4 + 8 + 16000);
    EXPECT_EQ(wave.substr(12, 8), std::string("fmt \x32\x00\x00\x00", 8));
    EXPECT_EQ(wave.substr(20, 16), std::string(reinterpret_cast<char*>(engine_.captureFormat), 16));
    EXPECT_EQ(wave.substr(70, 12), std::string("fact\x04\x00\x00\x00\x80\x3e\x00\x00", 12));
    EXPECT_EQ(wave.substr(90), Bytes(16000, 'w'));
    std::remove((directory_ + "tempwave.wav").c_str());
}

} // namespace
