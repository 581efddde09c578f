// The video window (VIDEOBOX): a modal dialog in which the user records a clip or takes a
// snapshot from a capture driver and attaches the result to the message.
#pragma once

#include <windows.h>

struct VideoWindowContext {
    HINSTANCE instance;
    HWND mainWindow;              // owner; receives the RealVideo encoding command
    HFONT uiFont;                 // the state word is drawn in it
    const char* programDirectory; // ends with a separator
    int videoIndex;               // the first capture driver index to try
};

void OpenVideoWindow(const VideoWindowContext& context);
