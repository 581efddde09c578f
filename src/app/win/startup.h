// Start-up and shut-down of Kestro: window classes, the single instance, the libraries, the
// settings and the main window.
#pragma once

#include <windows.h>

// Registers Kestro, MAILFIELD_CLASS, ATTACH_CLASS and AD_CLASS; false when any fails.
bool RegisterKestroClasses(HINSTANCE instance);

// Loads RICHED32.DLL, or RICHED20.DLL with the body class flag cleared.
void LoadRichEditLibrary();

// programDirectory from the running executable's path.
void ComputeProgramDirectory();

// Creates the main window at the settings' rectangle; nullptr on failure.
HWND CreateMainWindow();

// The questions of a first run: the MP3 codec and the auto configuration tool.
void RunFirstStartQuestions();

// The whole start-up and message loop of WinMain; returns the exit code.
int RunKestro(HINSTANCE instance, int showCommand);
