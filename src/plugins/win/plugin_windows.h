// What the encoder settings and runners are given by the application: the instance their
// dialogs come from and the main window, which is asked to open the plug-in download page.
#pragma once

#include <windows.h>

struct PluginWindows {
    HINSTANCE instance;
    HWND mainWindow;
};

extern PluginWindows pluginWindows;
