// The voice recorder window (SOUNDBOX).
#pragma once

#include <windows.h>

// The recorder's dialog and its controls come from `instance`.
void OpenVoiceRecorder(HINSTANCE instance, HWND owner);
