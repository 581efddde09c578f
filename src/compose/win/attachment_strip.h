// The attachment strip under the body editor.
#pragma once

#include <windows.h>

constexpr const char* kAttachStripClass = "ATTACH_CLASS";

LRESULT CALLBACK AttachStripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam);

// The number of used attachment slots.
int AttachmentCount();

// Empties the attachment table.
void ClearAttachments();
