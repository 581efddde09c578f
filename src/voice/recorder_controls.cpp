#include "voice/recorder_controls.h"

#include "voice/recorder_engine.h"

KeyAction DecideKeyAction(RecorderKey key, uint32_t state, bool recordPressed) {
    if (state == kRecorderRecording) {
        return KeyAction{false, kIdleTitle, EngineStep::StopRecording};
    }
    if (state == kRecorderPlaying) {
        return KeyAction{false, kIdleTitle, EngineStep::StopPlayback};
    }
    switch (key) {
    case RecorderKey::Record:
        return KeyAction{false, kRecordingTitle, EngineStep::StartRecording};
    case RecorderKey::Play:
        if (!recordPressed) {
            return KeyAction{true, nullptr, EngineStep::None};
        }
        return KeyAction{false, kPlayingTitle, EngineStep::StartPlayback};
    case RecorderKey::Stop:
        break;
    }
    return KeyAction{false, kIdleTitle, EngineStep::None};
}

const char* TitleForState(uint32_t state) {
    return state == kRecorderRecording ? kRecordingTitle
           : state == kRecorderPlaying ? kPlayingTitle
                                       : kIdleTitle;
}

AttachAction DecideAttachAction(uint32_t state, bool recordPressed) {
    if (!recordPressed) {
        return AttachAction::Close;
    }
    return state == kRecorderRecording ? AttachAction::StopAndStay : AttachAction::Attach;
}

CancelAction DecideCancelAction(uint32_t state) {
    return state == kRecorderRecording ? CancelAction::StopAndStay : CancelAction::Close;
}
