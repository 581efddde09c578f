// The voice recorder window (SOUNDBOX).
#pragma once

#include <windows.h>

void OpenVoiceRecorder(HWND owner);
