#include "video/capture_state.h"

#include <cstdio>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;

} // namespace

void ResetForOpening(VideoCaptureState& state) {
    const int32_t recordingMade = state.recordingMade;
    state = VideoCaptureState{};
    state.recordingMade = recordingMade;
}

void NoteRecordPressed(VideoCaptureState& state) {
    state.recordingMade = 1;
    state.videoAvailable = 1;
    state.snapshotAvailable = 0;
    state.displayState = kCaptureRecording;
}

void NoteStopPressed(VideoCaptureState& state) {
    state.displayState = kCaptureStopped;
}

void NotePictureTaken(VideoCaptureState& state, bool saved) {
    state.capturedSeconds = 0;
    if (saved) {
        state.videoAvailable = 0;
        state.snapshotAvailable = 1;
    }
    state.displayState = kCaptureSnapshot;
}

void NoteVideoAttached(VideoCaptureState& state) {
    state.recordingMade = 0;
}

AttachChoice ChooseAttach(const VideoCaptureState& state) {
    if (state.recordingMade && state.videoAvailable) {
        return AttachChoice::Video;
    }
    if (state.snapshotAvailable) {
        return AttachChoice::Snapshot;
    }
    return AttachChoice::Nothing;
}

bool CancelDeletesCapture(const VideoCaptureState& state) {
    return state.recordingMade != 0;
}

StatusReaction OnCaptureStatus(VideoCaptureState& state, int id, const char* text) {
    const char* shown = text != nullptr ? text : "";
    switch (id) {
    case kCaptureStatusCleared:
        return StatusReaction{kRecordVideoCaption, false};
    case kCaptureStatusEnded:
        state.displayState = kCaptureStopped;
        return StatusReaction{shown, true};
    case kCaptureStatusStatistics: {
        int seconds = 0;
        int fraction = 0;
        if (std::sscanf(shown, "Captured %d.%d sec", &seconds, &fraction) >= 1) {
            state.capturedSeconds = seconds;
        }
        return StatusReaction{shown, false};
    }
    default:
        return StatusReaction{shown, false};
    }
}

StateWord StateWordFor(int32_t displayState) {
    switch (displayState) {
    case kCaptureRecording:
        return StateWord{"RECORDING", kRed};
    case kCaptureSnapshot:
        return StateWord{"SNAPSHOT", kGreen};
    default:
        return StateWord{"STOPPED", kWhite};
    }
}
