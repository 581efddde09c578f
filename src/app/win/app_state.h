// Process-wide state owned by the main window: its children's handles, what they are made and
// drawn with, and the settings record. The main window hands the subsystems what they need of
// it through their own records (composeWindows, mailWindows, storeWindows, pluginWindows).
#pragma once

#include <windows.h>

#include "app/main_layout.h"
#include "app/settings_file.h"
#include "base/win/program_directory.h"

extern ProgramSettings programSettings;

struct MainWindowState {
    HINSTANCE instance;
    HWND mainWindow;
    HWND toolbar;
    HWND statusBar;
    HWND pictureButtons[6]; // Send, Attach, Voice, Video, Cancel, logo
    HWND addressPanel;
    HWND fontNameBox;
    HWND fontSizeBox;
    HWND colourBox;
    HWND boldButton;
    HWND italicButton;
    HWND underlineButton;
    HWND bodyEditor;
    HWND attachStrip;
    HWND adBanner;
    int bodyClassFlag; // 1: "richedit" (RICHED32.DLL), 0: "RichEdit20A" (RICHED20.DLL)
    HMODULE richEditModule;
    ShellMetrics metrics;
    int videoDriversMissing;
    HFONT uiFont;
    bool tornDown; // the tear-down ran; WM_DESTROY must not run it again
};

extern MainWindowState app;
