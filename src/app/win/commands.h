// The main window's command table: menu items, toolbar buttons and internal commands.
#pragma once

#include <windows.h>

LRESULT OnMainCommand(HWND window, int id, int notification, LPARAM lParam);

// Posts WM_COMMAND 1140 to the From field so that it shows the current sender.
void RefreshSenderLine();
