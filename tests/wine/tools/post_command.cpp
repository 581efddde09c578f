// Posts a command to the running Kestro main window (found by its class name), as a click on
// a menu item does; scripts/screenshot.sh uses it to open a dialog before taking its picture.
//     post_command.exe <command id> [child window class]
// With a class, the command goes to the main window's child of that class instead (the address
// panel, MAILFIELD_CLASS, opens the account book on the From label's id).
// Ends with 0 when the command was posted, 1 when there is no window or no id.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char* rest = nullptr;
    const long id = std::strtol(commandLine, &rest, 10);
    while (*rest == ' ') {
        ++rest;
    }
    HWND target = FindWindowA("Kestro", nullptr);
    if (target && *rest != '\0') {
        target = FindWindowExA(target, nullptr, rest, nullptr);
    }
    if (!target || id <= 0 || id > 0xFFFF) {
        return 1;
    }
    return PostMessageA(target, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 0 : 1;
}
