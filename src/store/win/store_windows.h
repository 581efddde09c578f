// What the saved-message code's window side is given by the application: the main window (it
// owns the reports and clears the composer before a load) and the settings written into a
// saved message. The composer's windows come from compose/win/compose_windows.h.
#pragma once

#include <windows.h>

struct ProgramSettings;

struct StoreWindows {
    HINSTANCE instance;
    HWND mainWindow;
    const ProgramSettings* settings;
};

extern StoreWindows storeWindows;
