// The MESSAGE_SENT dialog, shown after a successful send: its check boxes save and clear the
// message and let the dialog close itself, and are remembered in the settings.
#pragma once

#include <windows.h>

// Timer 1 ticks every 1500 ms; with automatic closing ticked the fifth tick presses OK.
constexpr UINT_PTR kMessageSentTimer = 1;
constexpr UINT kMessageSentTickMs = 1500;
constexpr int kMessageSentTicksBeforeClose = 4;

INT_PTR CALLBACK MessageSentDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
