// Posts a command to the running Kestro main window (found by its class name), as a click on
// a menu item does; scripts/screenshot.sh uses it to open a dialog before taking its picture.
//     post_command.exe <command id>
// Ends with 0 when the command was posted, 1 when there is no window or no id.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const long id = std::strtol(commandLine, nullptr, 10);
    HWND mainWindow = FindWindowA("Kestro", nullptr);
    if (!mainWindow || id <= 0 || id > 0xFFFF) {
        return 1;
    }
    return PostMessageA(mainWindow, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 0 : 1;
}
