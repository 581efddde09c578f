// Every message box of the program goes through ShowMessageBox, so that a test can answer it.
#pragma once

#include <windows.h>

// Answers a message box instead of the user; returns the button id (IDOK, IDYES, ...).
using MessageBoxResponder = int (*)(HWND owner, const char* text, const char* caption, UINT type);

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Installs a responder (nullptr restores the real message box); returns the previous one.
MessageBoxResponder SetMessageBoxResponder(MessageBoxResponder responder);
