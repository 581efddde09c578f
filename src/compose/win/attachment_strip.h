// The attachment strip under the body editor: the attachment table as a grid of shell icons
// with name and size, selection, opening, saving a copy, adding, removing and dropped files.
#pragma once

#include <windows.h>

#include "compose/win/attachments.h"

constexpr const char* kAttachStripClass = "ATTACH_CLASS";

LRESULT CALLBACK AttachStripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam);
