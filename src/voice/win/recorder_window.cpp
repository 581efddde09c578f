#include "voice/win/recorder_window.h"

// The recorder comes with its own work; until then the command does nothing.
void OpenVoiceRecorder(HWND) {}
