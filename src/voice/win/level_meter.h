// The microphone level shown in the recorder's bar while recording, read from the peak meter of
// the microphone line of the wave input mixer, where there is one.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "base/win/scoped_handles.h"

struct LevelMeter {
    ScopedMixer mixer;      // mixer device 0, opened with the window as callback
    ScopedMixer inputMixer; // the mixer of wave input device 0
    DWORD sourceLineId;
    int meterAvailable; // a microphone source line was found; timer 1001 runs
};

// Opens the mixers and looks for the microphone line; starts the window's meter timer when
// there is one.
void OpenLevelMeter(LevelMeter& meter, HWND window);

// Reads the peak meter and draws the level into the bar area of `window`.
void ShowMicrophoneLevel(const LevelMeter& meter, HWND window);

// Stops the timer and closes the mixers.
void CloseLevelMeter(LevelMeter& meter, HWND window);
