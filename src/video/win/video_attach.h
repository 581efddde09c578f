// Attaching what the video window took: the recorded clip (copied when the capture is already
// compressed, compressed otherwise, or handed to the RealVideo encoder) and the snapshot
// (converted to JPEG).
#pragma once

#include <windows.h>

#include "video/capture_state.h"

struct VideoAttachTarget {
    HWND dialog;
    HWND nameEdit;
    HWND mainWindow;
    const char* programDirectory;
};

// Both return true when the typed name was refused and the window stays open for another;
// otherwise the caller ends the window.
bool AttachVideo(const VideoAttachTarget& target, VideoCaptureState& state);
bool AttachSnapshot(const VideoAttachTarget& target);
