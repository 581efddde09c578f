// The Program Settings (PROGRAM_SETTINGS) and E-mail Settings (EMAILSET) dialogs.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ProgramSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EmailSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
