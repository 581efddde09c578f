// Process-wide state owned by the main window: its own children's handles, what they are made
// and drawn with, and the settings record. The composer's children (address panel, format bar,
// body editor, attachment strip, picture buttons) are created straight into composeWindows; the
// main window hands the other subsystems what they need through their own records
// (mailWindows, storeWindows, pluginWindows).
#pragma once

#include <windows.h>

#include "app/main_layout.h"
#include "app/settings_file.h"
#include "base/win/program_directory.h"
#include "base/win/scoped_handles.h"
#include "compose/win/compose_windows.h"

extern ProgramSettings programSettings;

struct MainWindowState {
    HINSTANCE instance;
    HWND mainWindow;
    HWND toolbar;
    HWND statusBar;
    HWND adBanner;
    int bodyClassFlag; // 1: "richedit" (RICHED32.DLL), 0: "RichEdit20A" (RICHED20.DLL)
    HMODULE richEditModule;
    ShellMetrics metrics;
    int videoDriversMissing;
    ScopedGdiObject<HFONT> uiFont;
    bool tornDown; // the tear-down ran; WM_DESTROY must not run it again
};

extern MainWindowState app;
