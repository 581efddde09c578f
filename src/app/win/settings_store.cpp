#include "app/win/settings_store.h"

#include <cstdio>
#include <string>

#include "app/win/app_state.h"
#include "base/file_bytes.h"
#include "base/win/message_box.h"

namespace {

ScreenSize CurrentScreen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The rectangle the window has when it is neither minimised nor maximised, so that closing
// a minimised window does not store the icon's position.
RECT RestoredWindowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (IsIconic(window) || IsZoomed(window)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        if (GetWindowPlacement(window, &placement)) {
            rect = placement.rcNormalPosition;
        }
    }
    return rect;
}

} // namespace

void SettingsFilePath(char* path, size_t size) {
    std::snprintf(path, size, "%sKestro.ini", programDirectory);
}

int ReadSettings() {
    char path[kPathLength + 16];
    SettingsFilePath(path, sizeof path);
    const ScreenSize screen = CurrentScreen();

    std::string text;
    if (!ReadFileBytes(path, text)) {
        ApplyDefaultSettings(programSettings, screen);
        return 0;
    }
    SettingsLayout layout = ParseSettingsText(text, programSettings);
    FitWindowToScreen(programSettings, screen);
    if (layout == SettingsLayout::Keyed) {
        return 1;
    }
    // The older layout is imported once: the keyed layout replaces it at exit.
    DeleteFileA(path);
    return 0;
}

int WriteSettings() {
    if (app.mainWindow) {
        RECT rect = RestoredWindowRect(app.mainWindow);
        programSettings.x = rect.left;
        programSettings.y = rect.top;
        programSettings.width = rect.right - rect.left;
        programSettings.height = rect.bottom - rect.top;
    }
    char path[kPathLength + 16];
    SettingsFilePath(path, sizeof path);
    if (!WriteFileBytes(path, FormatSettingsText(programSettings))) {
        ShowMessageBox(nullptr, "Error creating initialization file", "File Error", MB_OK);
        return 0;
    }
    return 1;
}
