// The capture window the video window talks to. It answers the capture-window messages for the
// driver it is connected to: a platform capture driver, through a platform capture window it
// creates inside itself and hands every message to, or one of the program's own sources (the
// Screen source). Driver indexes run from 0 to 9: the platform's drivers keep theirs, the own
// sources take the first indexes the platform leaves free, so the user of the window never
// needs to know which kind answers.
#pragma once

#include <windows.h>

#include <vfw.h>

constexpr int kCaptureDriverSlots = 10;

// What an own source is given to answer a message of a capture window it serves.
struct CaptureSourceCall {
    HWND window;               // the capture window
    void** state;              // the source's data for this window; null before it connects
    CAPSTATUSCALLBACKA status; // the callbacks the window's user installed, or null
    CAPCONTROLCALLBACK control;
};

struct OwnCaptureSource {
    const char* name;
    const char* version;
    // Answers one message sent to the window (capture messages and the window's own, such as
    // WM_PAINT and WM_TIMER); false leaves it to the default handling.
    bool (*answer)(const CaptureSourceCall& call, UINT message, WPARAM wParam, LPARAM lParam,
                   LRESULT& result);
};

// Adds a source after the ones there are (the Screen source is always the first).
void AddOwnCaptureSource(const OwnCaptureSource& source);

// capGetDriverDescriptionA over the platform's drivers and the own sources.
bool CaptureDriverDescription(int index, char* name, int nameSize, char* version, int versionSize);

// Creates a capture window, a child of `parent`, connected to no driver yet.
HWND CreateCaptureWindow(HINSTANCE instance, const char* title, DWORD style, int x, int y,
                         int width, int height, HWND parent, int id);
