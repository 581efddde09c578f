// The recording and playback engine: records from the default wave input device into the raw
// temporary file temptemp.tmp in the program directory, and plays that file back through the
// default wave output device, double-buffered with two 32000-byte buffers.
//
// The engine owns no window and no device: the recorder window hands it a RecorderDevice (the
// wave devices, its timers, its display and its message boxes) and a RecorderFiles (the
// temporary file). Every step runs on the window's thread, as a reaction to a button, a timer or
// a device message.
#pragma once

#include <cstdint>

#include "base/scoped_file.h"
#include "plugins/plugin_settings.h"

constexpr uint32_t kRecorderBufferSize = 32000;
constexpr int kRecorderBufferCount = 2;
constexpr int kRecordPositionTimer = 1;
constexpr int kPlayPositionTimer = 2;
constexpr int kPositionTimerMs = 250;
// programDirectory (at most 1023 characters) and "temptemp.tmp".
constexpr int kRecorderTempPathLength = 1024 + 16;
inline constexpr char kRecorderTempName[] = "temptemp.tmp";

// RecorderState
constexpr uint32_t kRecorderStopped = 0;
constexpr uint32_t kRecorderRecording = 1;
constexpr uint32_t kRecorderPlaying = 2;

// The engine's messages; each is shown with the caption "Error" and an OK button.
inline constexpr char kRecorderErrorCaption[] = "Error";
inline constexpr char kMaxFormatSizeText[] = "Error getting the max compression format size.";
inline constexpr char kFormatMemoryText[] =
    "Error allocating local memory for WaveFormatEx structure.";
inline constexpr char kFormatTagWarningText[] = "Warning, FormatTagDetails function failed";
inline constexpr char kFormatWarningText[] = "Warning, FormatDetails function failed";
inline constexpr char kNoInputDeviceText[] = "No wave audio recording devices found.";
inline constexpr char kBufferMemoryText[] = "Error allocating wave buffer memory.";
inline constexpr char kOpenInputText[] = "Could not open the input device for recording.";
inline constexpr char kPrepareRecordText[] = "Error preparing header for recording.";
inline constexpr char kAddBufferText[] = "Error adding buffer.";
inline constexpr char kCreateTempText[] = "Error creating temporary file.";
inline constexpr char kStartRecordText[] = "Error starting wave record.";
inline constexpr char kWriteTempText[] = "Error writing data to temporary file.";
inline constexpr char kInputResetText[] = "Error in waveInReset";
inline constexpr char kUnprepareInput1Text[] = "Error in waveInUnprepareHeader (1)";
inline constexpr char kUnprepareInput2Text[] = "Error in waveInUnprepareHeader (2)";
inline constexpr char kCloseTempText[] = "Error closing temporary file.";
inline constexpr char kCloseInputText[] = "Error closing input device.";
inline constexpr char kOpenOutputText[] = "Error opening wave out device.";
inline constexpr char kPreparePlayText[] = "Error preparing header for playing.";
inline constexpr char kOpenTempReadText[] = "Error opening temporary wave file for read.";
inline constexpr char kWriteBufferText[] = "Error writing wave buffer.";
inline constexpr char kUnpreparePlayText[] = "Error unpreparing play header.";
inline constexpr char kCloseOutputText[] = "Error closing wave play device.";

enum class WaveDirection { Input, Output };

// The wave devices and the recorder window as the engine uses them. Each function gets
// `context`; the bool results are true on success.
struct RecorderDevice {
    void* context;
    // The ACM maximum format size.
    bool (*maxFormatSize)(void* context, uint32_t* size);
    // Looks up the display names of the format's tag and of the format.
    void (*describeFormat)(void* context, const unsigned char* format, bool* tagFound,
                           bool* formatFound);
    uint32_t (*inputDeviceCount)(void* context);
    // Opens the default device of that direction for the format, reporting to the window.
    bool (*open)(void* context, WaveDirection direction, const unsigned char* format);
    // Sets up header `index` over `data` (length bytes) and prepares it.
    bool (*prepare)(void* context, WaveDirection direction, int index, unsigned char* data,
                    uint32_t length);
    bool (*unprepare)(void* context, WaveDirection direction, int index);
    bool (*addInput)(void* context, int index);
    bool (*startInput)(void* context);
    // Plays the first `length` bytes of buffer `index`.
    bool (*writeOutput)(void* context, int index, uint32_t length);
    // Stops the device; every buffer it holds comes back as a completion.
    bool (*reset)(void* context, WaveDirection direction);
    bool (*close)(void* context, WaveDirection direction);
    // The device's position in bytes.
    bool (*position)(void* context, WaveDirection direction, uint32_t* bytes);
    void (*setTimer)(void* context, int id, int milliseconds);
    void (*killTimer)(void* context, int id);
    // The display values changed, or the window should be drawn again.
    void (*redraw)(void* context);
    // Posts the recorder window its Stop command (108).
    void (*postStopCommand)(void* context);
    // A message box with the caption "Error"; `owned` tells whether the window owns it.
    void (*report)(void* context, const char* text, bool owned);
};

// The temporary file: one file at a time.
struct RecorderFiles {
    void* context;
    bool (*create)(void* context, const char* path); // created, or truncated when it exists
    bool (*openForReading)(void* context, const char* path);
    uint32_t (*write)(void* context, const unsigned char* data, uint32_t count);
    uint32_t (*read)(void* context, unsigned char* data, uint32_t count);
    bool (*close)(void* context);
    void (*remove)(void* context, const char* path);
};

// The temporary file on C stdio; `context` must point to a StdioRecorderFile.
struct StdioRecorderFile {
    ScopedFile file; // empty when closed
};
RecorderFiles StdioRecorderFiles(StdioRecorderFile* file);

// What the recorder window draws.
struct RecorderDisplay {
    uint32_t position;      // bytes recorded or played so far
    uint32_t maximum;       // the recorded length while playing
    uint32_t stoppedLength; // the length shown when stopped
};

struct RecorderEngine {
    RecorderDevice device;
    RecorderFiles files;
    unsigned char* captureFormat; // WAVEFORMATEX, zero-filled to captureFormatSize bytes
    uint32_t captureFormatSize;   // the ACM maximum format size
    unsigned char* buffers[kRecorderBufferCount];
    uint32_t bufferLength; // the largest multiple of the block alignment not above 32000
    int nextBuffer;        // the buffer the next add or write uses
    bool prepared[kRecorderBufferCount];
    int queued;     // buffers the device holds, whose completion is still to come
    uint32_t state; // kRecorderStopped, kRecorderRecording or kRecorderPlaying
    int deviceOpen;
    WaveDirection openDirection;
    bool tempFileOpen;
    bool writeFailed;      // a write to the temporary file came up short in this take
    uint32_t morePlayback; // non-zero while the temporary file still has unplayed bytes
    uint32_t fileBytes;    // written (recording) or read (playback) so far
    uint32_t recordedLength;
    char tempPath[kRecorderTempPathLength];
    RecorderDisplay display;
};

// Builds the capture format from the settings, checks for an input device, allocates the
// buffers and sets the temporary path. 0, or -1 (format or no input device) / -4 (buffers),
// after the message. `device` and `files` must be set before.
int PrepareRecorder(RecorderEngine& engine, const PluginSettings& settings,
                    const char* programDirectory);

// Closes a device that is still open, frees the format and the buffers, and deletes the
// temporary file. Harmless when called again.
void ReleaseRecorder(RecorderEngine& engine);

// 0, or -1 .. -6 after the message; -1 without a message when the engine is not prepared or a
// device is still open.
int StartRecording(RecorderEngine& engine);
void StopRecording(RecorderEngine& engine);
// A recording buffer came back with `bytesRecorded` bytes in it.
void OnInputBufferDone(RecorderEngine& engine, int index, uint32_t bytesRecorded);
void FinishRecording(RecorderEngine& engine);
void UpdateRecordPosition(RecorderEngine& engine);

// 0, or -1 .. -4 after the message; -1 without a message when the engine is not prepared or a
// device is still open.
int StartPlayback(RecorderEngine& engine);
// A playback buffer came back.
void OnOutputBufferDone(RecorderEngine& engine, int index);
// quiet = 1 when the user asked for the stop, 0 when the recording ran out.
void StopPlayback(RecorderEngine& engine, int quiet);
void UpdatePlayPosition(RecorderEngine& engine);
// The output device reported that it closed.
void OnOutputDeviceClosed(RecorderEngine& engine);

// The recording's format fields (zero when the engine is not prepared).
uint32_t CaptureBytesPerSecond(const RecorderEngine& engine);
