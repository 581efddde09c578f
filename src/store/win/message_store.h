// Saving the composed message into a folder of its own, loading a saved message back into the
// composer, and the Load Message dialog.
#pragma once

#include <windows.h>

// silent = 1: no report message (the save after a send). Failures are told either way.
void SaveMessage(int silent);

// Fills the (already cleared) composer from a ".kto" file: the address fields, the subject, the
// formatting flag, the attachments that still exist and the body.
void LoadMessage(const char* path);

// The modal dialog "LOADBOOKBOX" that lists the saved messages.
void OpenLoadMessageDialog(HWND owner);
