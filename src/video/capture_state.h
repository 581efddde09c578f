// What the video window knows about the current recording and snapshot, and how the capture
// source's status reports change it. The window's drawing and its Attach follow from this.
#pragma once

#include <cstdint>

enum CaptureDisplayState : int32_t {
    kCaptureStopped = 0,
    kCaptureRecording = 1,
    kCaptureSnapshot = 2,
};

struct VideoCaptureState {
    int32_t recordingMade;     // Record was pressed since the last clip was attached
    int32_t videoAvailable;    // the last thing taken was a clip
    int32_t snapshotAvailable; // the last thing taken was a snapshot that was saved
    int32_t displayState;      // CaptureDisplayState
    int32_t capturedSeconds;   // whole seconds of the last recording
};

// The state at each opening of the window: everything cleared except recordingMade, which only
// a video Attach clears.
void ResetForOpening(VideoCaptureState& state);

void NoteRecordPressed(VideoCaptureState& state);
void NoteStopPressed(VideoCaptureState& state);
// Picture: the grabbed frame was saved as snapshot.bmp (or not; then the flags stay).
void NotePictureTaken(VideoCaptureState& state, bool saved);
void NoteVideoAttached(VideoCaptureState& state);

enum class AttachChoice { Video, Snapshot, Nothing };
AttachChoice ChooseAttach(const VideoCaptureState& state);

// Cancel deletes the temporary capture file only after a recording.
bool CancelDeletesCapture(const VideoCaptureState& state);

// Status reports of the capture source.
constexpr int kCaptureStatusCleared = 0;
constexpr int kCaptureStatusEnded = 301;
constexpr int kCaptureStatusStatistics = 511;

inline constexpr char kRecordVideoCaption[] = "Record Video";

struct StatusReaction {
    const char* caption; // the window's new caption; null: unchanged
    bool repaint;        // the capture ended: redraw the state word
};

// A status report (id and text) as the window takes it: 0 restores the caption "Record Video",
// 301 ends the recording, 511 carries "Captured <s>.<t> sec..." whose whole seconds are kept;
// every other non-zero id shows its text.
StatusReaction OnCaptureStatus(VideoCaptureState& state, int id, const char* text);

// The word under the video and its colour (0x00BBGGRR): "STOPPED" white, "RECORDING" red,
// "SNAPSHOT" green.
struct StateWord {
    const char* text;
    uint32_t colour;
};
StateWord StateWordFor(int32_t displayState);
