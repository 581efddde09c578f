// What the voice recorder's keys and its Attach and Cancel buttons do in each engine state.
#pragma once

#include <cstdint>

inline constexpr char kIdleTitle[] = "Voice Message";
inline constexpr char kRecordingTitle[] = "Recording...";
inline constexpr char kPlayingTitle[] = "Playing Message";

inline constexpr char kDeviceNotReadyText[] = "Sound Device Not Ready!";
inline constexpr char kDeviceNotReadyCaption[] = "Voice Attachment";

enum class RecorderKey { Record, Stop, Play };

enum class EngineStep { None, StartRecording, StopRecording, StartPlayback, StopPlayback };

struct KeyAction {
    bool ignored;      // nothing happens at all
    const char* title; // the window title set before the step
    EngineStep step;
};

// The key table: Record starts recording when stopped, Play starts playing when stopped (once
// Record was used), and every key stops what is running.
KeyAction DecideKeyAction(RecorderKey key, uint32_t state, bool recordPressed);

// The title that fits a state, for after a step that did not start.
const char* TitleForState(uint32_t state);

enum class AttachAction {
    Close,       // nothing was recorded: close without attaching
    StopAndStay, // recording: stop it, the window stays open
    Attach,      // stop playing if needed, then write and attach the recording
};
AttachAction DecideAttachAction(uint32_t state, bool recordPressed);

enum class CancelAction {
    StopAndStay, // recording: stop it, the window stays open
    Close,       // stop playing if needed, release the engine and close
};
CancelAction DecideCancelAction(uint32_t state);
