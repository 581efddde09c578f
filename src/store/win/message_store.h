// Saving the composed message into a folder, and the Load Message dialog.
#pragma once

#include <windows.h>

// silent = 1: no report message (the save after a send).
void SaveMessage(int silent);
void OpenLoadMessageDialog(HWND owner);
