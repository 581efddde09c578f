// The Screen capture source: the desktop, scaled to at most 640 pixels wide, as a capture driver
// of the program's own. Connected to a capture window it answers the capture-window messages a
// platform driver answers: its picture size, preview, the sequence set-up, the sound format,
// recording into the capture file (Motion-JPEG frames at the requested rate with the
// microphone's sound, through waveIn), grabbing a frame and saving it as a DIB file, and the
// status and capture-control callbacks.
#pragma once

#include "video/win/capture_window.h"

const OwnCaptureSource& ScreenCaptureSource();
