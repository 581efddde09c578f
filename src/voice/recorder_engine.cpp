#include "voice/recorder_engine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/wave_file.h"

namespace {

void Report(RecorderEngine& engine, const char* text, bool owned = true) {
    engine.device.report(engine.device.context, text, owned);
}

void Redraw(RecorderEngine& engine) {
    engine.device.redraw(engine.device.context);
}

bool Prepared(const RecorderEngine& engine) {
    return engine.captureFormat != nullptr && engine.buffers[0] != nullptr &&
           engine.buffers[1] != nullptr;
}

bool DeviceOpenFor(const RecorderEngine& engine, WaveDirection direction) {
    return engine.deviceOpen && engine.openDirection == direction;
}

void CloseTempFile(RecorderEngine& engine) {
    if (!engine.tempFileOpen) {
        return;
    }
    engine.tempFileOpen = false;
    if (!engine.files.close(engine.files.context)) {
        Report(engine, kCloseTempText, false);
    }
}

// Unprepares the headers that were prepared; false when one of them fails.
void UnprepareHeaders(RecorderEngine& engine, WaveDirection direction, const char* firstText,
                      const char* secondText) {
    const char* texts[kRecorderBufferCount] = {firstText, secondText};
    for (int i = 0; i < kRecorderBufferCount; ++i) {
        if (!engine.prepared[i]) {
            continue;
        }
        engine.prepared[i] = false;
        if (!engine.device.unprepare(engine.device.context, direction, i)) {
            Report(engine, texts[i]);
        }
    }
}

// Hands buffer nextBuffer to the input device. On failure the recording is stopped.
bool AddInputBuffer(RecorderEngine& engine) {
    if (!engine.device.addInput(engine.device.context, engine.nextBuffer)) {
        StopRecording(engine);
        Report(engine, kAddBufferText);
        return false;
    }
    ++engine.queued;
    engine.nextBuffer ^= 1;
    return true;
}

// A recording that failed while starting: the device gives back what it holds, and the
// completions that follow find it closed.
void AbandonRecording(RecorderEngine& engine) {
    if (engine.queued > 0) {
        engine.device.reset(engine.device.context, WaveDirection::Input);
        engine.queued = 0;
    }
    engine.state = kRecorderStopped;
    FinishRecording(engine);
}

void ClosePlayback(RecorderEngine& engine) {
    UnprepareHeaders(engine, WaveDirection::Output, kUnpreparePlayText, kUnpreparePlayText);
    if (!engine.device.close(engine.device.context, WaveDirection::Output)) {
        Report(engine, kCloseOutputText, false);
    }
    engine.deviceOpen = 0;
    engine.queued = 0;
    CloseTempFile(engine);
}

// Reads the next piece of the temporary file into buffer nextBuffer and plays it. Returns 0,
// also when there was nothing left to play, or -1 after a failed write (playback is stopped).
int WriteOneBuffer(RecorderEngine& engine) {
    if (engine.fileBytes >= engine.recordedLength) {
        engine.morePlayback = 0;
        return 0;
    }
    const int index = engine.nextBuffer;
    const uint32_t count =
        engine.files.read(engine.files.context, engine.buffers[index], engine.bufferLength);
    if (count == 0) {
        // The file is shorter than the recording it should hold: play what there was.
        engine.morePlayback = 0;
        return 0;
    }
    engine.fileBytes += count;
    if (!engine.device.writeOutput(engine.device.context, index, count)) {
        StopPlayback(engine, 1);
        Report(engine, kWriteBufferText);
        return -1;
    }
    ++engine.queued;
    engine.nextBuffer ^= 1;
    return 0;
}

void FreeBlock(unsigned char*& block) {
    std::free(block);
    block = nullptr;
}

} // namespace

int PrepareRecorder(RecorderEngine& engine, const PluginSettings& settings,
                    const char* programDirectory) {
    uint32_t size = 0;
    if (!engine.device.maxFormatSize(engine.device.context, &size)) {
        Report(engine, kMaxFormatSizeText);
        return -1;
    }
    if (size < kWaveFormatExSize) {
        size = kWaveFormatExSize;
    }
    FreeBlock(engine.captureFormat);
    engine.captureFormat = static_cast<unsigned char*>(std::calloc(size, 1));
    if (engine.captureFormat == nullptr) {
        Report(engine, kFormatMemoryText);
        return -1;
    }
    engine.captureFormatSize = size;
    WaveFormatFields fields = {};
    fields.formatTag = kPcmFormatTag;
    fields.channels = settings.channels;
    fields.samplesPerSec = settings.samplesPerSec;
    fields.avgBytesPerSec = settings.avgBytesPerSec;
    fields.blockAlign = settings.blockAlign;
    fields.bitsPerSample = settings.bitsPerSample;
    WriteWaveFormat(engine.captureFormat, fields);

    bool tagFound = true;
    bool formatFound = true;
    engine.device.describeFormat(engine.device.context, engine.captureFormat, &tagFound,
                                 &formatFound);
    if (!tagFound) {
        Report(engine, kFormatTagWarningText, false);
    }
    if (!formatFound) {
        Report(engine, kFormatWarningText, false);
    }

    if (engine.device.inputDeviceCount(engine.device.context) == 0) {
        Report(engine, kNoInputDeviceText);
        return -1;
    }

    for (unsigned char*& buffer : engine.buffers) {
        FreeBlock(buffer);
        buffer = static_cast<unsigned char*>(std::calloc(kRecorderBufferSize, 1));
        if (buffer == nullptr) {
            Report(engine, kBufferMemoryText);
            return -4;
        }
    }
    const uint32_t align = fields.blockAlign != 0 ? fields.blockAlign : 1;
    engine.bufferLength = kRecorderBufferSize - kRecorderBufferSize % align;

    std::snprintf(engine.tempPath, sizeof engine.tempPath, "%s%s", programDirectory,
                  kRecorderTempName);
    engine.nextBuffer = 0;
    engine.queued = 0;
    engine.state = kRecorderStopped;
    engine.deviceOpen = 0;
    engine.tempFileOpen = false;
    engine.morePlayback = 0;
    engine.fileBytes = 0;
    engine.recordedLength = 0;
    engine.display = RecorderDisplay{};
    return 0;
}

void ReleaseRecorder(RecorderEngine& engine) {
    // No buffer is freed while a device may still write into it or play from it.
    if (DeviceOpenFor(engine, WaveDirection::Input)) {
        engine.state = kRecorderStopped;
        engine.device.killTimer(engine.device.context, kRecordPositionTimer);
        AbandonRecording(engine);
    } else if (DeviceOpenFor(engine, WaveDirection::Output)) {
        engine.device.reset(engine.device.context, WaveDirection::Output);
        engine.device.killTimer(engine.device.context, kPlayPositionTimer);
        engine.morePlayback = 0;
        engine.state = kRecorderStopped;
        ClosePlayback(engine);
    }
    CloseTempFile(engine);
    FreeBlock(engine.captureFormat);
    engine.captureFormatSize = 0;
    for (unsigned char*& buffer : engine.buffers) {
        FreeBlock(buffer);
    }
    if (engine.tempPath[0] != '\0') {
        engine.files.remove(engine.files.context, engine.tempPath);
        engine.tempPath[0] = '\0';
    }
}

int StartRecording(RecorderEngine& engine) {
    if (!Prepared(engine) || engine.deviceOpen) {
        return -1;
    }
    engine.nextBuffer = 0;
    engine.fileBytes = 0;
    engine.recordedLength = 0;
    engine.queued = 0;
    engine.writeFailed = false;
    if (!engine.device.open(engine.device.context, WaveDirection::Input, engine.captureFormat)) {
        Report(engine, kOpenInputText);
        return -1;
    }
    engine.deviceOpen = 1;
    engine.openDirection = WaveDirection::Input;

    for (int i = 0; i < kRecorderBufferCount; ++i) {
        if (!engine.device.prepare(engine.device.context, WaveDirection::Input, i,
                                   engine.buffers[i], engine.bufferLength)) {
            FinishRecording(engine);
            Report(engine, kPrepareRecordText);
            return -2;
        }
        engine.prepared[i] = true;
    }
    if (!AddInputBuffer(engine)) {
        return -3;
    }
    if (!engine.files.create(engine.files.context, engine.tempPath)) {
        Report(engine, kCreateTempText, false);
        AbandonRecording(engine);
        return -4;
    }
    engine.tempFileOpen = true;
    if (!engine.device.startInput(engine.device.context)) {
        AbandonRecording(engine);
        Report(engine, kStartRecordText);
        return -5;
    }
    engine.state = kRecorderRecording;
    engine.device.setTimer(engine.device.context, kRecordPositionTimer, kPositionTimerMs);
    engine.display.position = 0;
    Redraw(engine);
    if (!AddInputBuffer(engine)) {
        return -6;
    }
    return 0;
}

void StopRecording(RecorderEngine& engine) {
    engine.display.stoppedLength = engine.display.position;
    engine.state = kRecorderStopped;
    if (DeviceOpenFor(engine, WaveDirection::Input) &&
        !engine.device.reset(engine.device.context, WaveDirection::Input)) {
        Report(engine, kInputResetText);
    }
    engine.device.killTimer(engine.device.context, kRecordPositionTimer);
    // With no buffer left at the device no completion will come to finish the recording.
    if (engine.queued == 0) {
        FinishRecording(engine);
    }
}

void OnInputBufferDone(RecorderEngine& engine, int index, uint32_t bytesRecorded) {
    // Completions of a device that is closed already (or of another take) carry nothing.
    if (!DeviceOpenFor(engine, WaveDirection::Input) || index < 0 ||
        index >= kRecorderBufferCount) {
        return;
    }
    if (engine.queued > 0) {
        --engine.queued;
    }
    if (bytesRecorded > engine.bufferLength) {
        bytesRecorded = engine.bufferLength;
    }
    if (bytesRecorded != 0 && engine.tempFileOpen && !engine.writeFailed) {
        const uint32_t written =
            engine.files.write(engine.files.context, engine.buffers[index], bytesRecorded);
        engine.fileBytes += written;
        if (written != bytesRecorded) {
            engine.writeFailed = true;
            Report(engine, kWriteTempText, false);
            StopRecording(engine);
            return;
        }
    }
    if (engine.state == kRecorderStopped) {
        // The last buffers the reset gave back: the recording ends with the last of them.
        if (engine.queued == 0) {
            FinishRecording(engine);
        }
        return;
    }
    AddInputBuffer(engine);
}

void FinishRecording(RecorderEngine& engine) {
    if (!DeviceOpenFor(engine, WaveDirection::Input)) {
        return;
    }
    UnprepareHeaders(engine, WaveDirection::Input, kUnprepareInput1Text, kUnprepareInput2Text);
    engine.recordedLength = engine.fileBytes;
    engine.display.position = engine.fileBytes;
    engine.display.stoppedLength = engine.fileBytes;
    CloseTempFile(engine);
    if (!engine.device.close(engine.device.context, WaveDirection::Input)) {
        Report(engine, kCloseInputText);
    }
    engine.deviceOpen = 0;
    engine.queued = 0;
    Redraw(engine);
}

void UpdateRecordPosition(RecorderEngine& engine) {
    uint32_t bytes = 0;
    if (engine.state != kRecorderRecording ||
        !engine.device.position(engine.device.context, WaveDirection::Input, &bytes)) {
        return;
    }
    engine.display.position = bytes;
    Redraw(engine);
}

int StartPlayback(RecorderEngine& engine) {
    if (!Prepared(engine) || engine.deviceOpen) {
        return -1;
    }
    engine.nextBuffer = 0;
    engine.fileBytes = 0;
    engine.queued = 0;
    if (!engine.device.open(engine.device.context, WaveDirection::Output, engine.captureFormat)) {
        Report(engine, kOpenOutputText);
        return -1;
    }
    engine.deviceOpen = 1;
    engine.openDirection = WaveDirection::Output;
    for (int i = 0; i < kRecorderBufferCount; ++i) {
        if (!engine.device.prepare(engine.device.context, WaveDirection::Output, i,
                                   engine.buffers[i], engine.bufferLength)) {
            ClosePlayback(engine);
            Report(engine, kPreparePlayText);
            return -2;
        }
        engine.prepared[i] = true;
    }
    if (!engine.files.openForReading(engine.files.context, engine.tempPath)) {
        ClosePlayback(engine);
        Report(engine, kOpenTempReadText);
        return -3;
    }
    engine.tempFileOpen = true;
    if (WriteOneBuffer(engine) != 0) {
        return -4;
    }
    engine.morePlayback = 2;
    engine.state = kRecorderPlaying;
    engine.device.setTimer(engine.device.context, kPlayPositionTimer, kPositionTimerMs);
    engine.display.position = 0;
    engine.display.maximum = engine.recordedLength;
    Redraw(engine);
    if (WriteOneBuffer(engine) != 0) {
        return -4;
    }
    // An empty recording: nothing went to the device, so no completion will end the playback.
    if (engine.queued == 0) {
        StopPlayback(engine, 0);
    }
    return 0;
}

void OnOutputBufferDone(RecorderEngine& engine, int index) {
    if (!DeviceOpenFor(engine, WaveDirection::Output) || index < 0 ||
        index >= kRecorderBufferCount) {
        return;
    }
    if (engine.queued > 0) {
        --engine.queued;
    }
    if (engine.morePlayback != 0) {
        if (WriteOneBuffer(engine) != 0) {
            return;
        }
        if (engine.queued == 0) {
            StopPlayback(engine, 0);
        }
    } else {
        StopPlayback(engine, 0);
    }
}

void StopPlayback(RecorderEngine& engine, int quiet) {
    if (!DeviceOpenFor(engine, WaveDirection::Output)) {
        return;
    }
    engine.device.reset(engine.device.context, WaveDirection::Output);
    engine.device.killTimer(engine.device.context, kPlayPositionTimer);
    if (!quiet) {
        engine.display.position = engine.fileBytes;
        engine.display.maximum = engine.recordedLength;
    }
    engine.morePlayback = 0;
    engine.state = kRecorderStopped;
    ClosePlayback(engine);
    Redraw(engine);
    engine.device.postStopCommand(engine.device.context);
}

void UpdatePlayPosition(RecorderEngine& engine) {
    uint32_t bytes = 0;
    if (engine.state != kRecorderPlaying ||
        !engine.device.position(engine.device.context, WaveDirection::Output, &bytes)) {
        return;
    }
    engine.display.position = bytes;
    engine.display.maximum = engine.recordedLength;
    Redraw(engine);
}

void OnOutputDeviceClosed(RecorderEngine& engine) {
    if (DeviceOpenFor(engine, WaveDirection::Output)) {
        engine.deviceOpen = 0;
    }
}

uint32_t CaptureBytesPerSecond(const RecorderEngine& engine) {
    if (engine.captureFormat == nullptr) {
        return 0;
    }
    return ReadWaveFormat(engine.captureFormat, engine.captureFormatSize).avgBytesPerSec;
}

namespace {

std::FILE* FileOf(void* context) {
    return static_cast<StdioRecorderFile*>(context)->file.get();
}

bool StdioOpen(void* context, const char* path, const char* mode) {
    ScopedFile& file = static_cast<StdioRecorderFile*>(context)->file;
    file.reset(std::fopen(path, mode));
    return static_cast<bool>(file);
}

} // namespace

RecorderFiles StdioRecorderFiles(StdioRecorderFile* file) {
    RecorderFiles files = {};
    files.context = file;
    files.create = [](void* context, const char* path) { return StdioOpen(context, path, "wb"); };
    files.openForReading = [](void* context, const char* path) {
        return StdioOpen(context, path, "rb");
    };
    files.write = [](void* context, const unsigned char* data, uint32_t count) {
        std::FILE* file = FileOf(context);
        return file ? static_cast<uint32_t>(std::fwrite(data, 1, count, file)) : 0u;
    };
    files.read = [](void* context, unsigned char* data, uint32_t count) {
        std::FILE* file = FileOf(context);
        return file ? static_cast<uint32_t>(std::fread(data, 1, count, file)) : 0u;
    };
    files.close = [](void* context) {
        return static_cast<StdioRecorderFile*>(context)->file.close();
    };
    files.remove = [](void*, const char* path) { std::remove(path); };
    return files;
}
