// The recording engine's devices: the default wave input and output devices (WAVE_MAPPER),
// opened with the recorder window as the callback so that every buffer completion arrives as
// MM_WIM_DATA or MM_WOM_DONE, the ACM format metrics, the window's timers, display and message
// boxes.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "voice/recorder_engine.h"

struct WaveDevices {
    HWND window;
    HWAVEIN input;   // null when closed
    HWAVEOUT output; // null when closed
    WAVEHDR headers[kRecorderBufferCount];
    StdioRecorderFile tempFile;
};

// Sets the engine's device and files to the real ones, reporting to `window`.
void AttachWaveDevices(RecorderEngine& engine, WaveDevices& devices, HWND window);

// The buffer index of a header handed back by a device message, or -1 when it is none of ours.
int HeaderIndex(const WaveDevices& devices, LPARAM header);
