// Posts a command to the running Kestro main window (found by its class name), as a click on
// a menu item does; scripts/screenshot.sh uses it to open a dialog (and press a button in it)
// before taking its picture.
//     post_command.exe <command id> [child window class | window caption]
// With a class, the command goes to the main window's child of that class instead (the address
// panel, MAILFIELD_CLASS, opens the account book on the From label's id); with the caption of
// another window, such as an open dialog, to that window, as a click on one of its buttons.
// Ends with 0 when the command was posted, 1 when there is no window or no id.
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char* rest = nullptr;
    const long id = std::strtol(commandLine, &rest, 10);
    std::string name = rest != nullptr ? rest : "";
    name.erase(0, name.find_first_not_of(" \""));
    name.erase(name.find_last_not_of(" \"") + 1);
    HWND target = FindWindowA("Kestro", nullptr);
    if (target && !name.empty()) {
        HWND child = FindWindowExA(target, nullptr, name.c_str(), nullptr);
        target = child != nullptr ? child : FindWindowA(nullptr, name.c_str());
    }
    if (!target || id <= 0 || id > 0xFFFF) {
        return 1;
    }
    return PostMessageA(target, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 0 : 1;
}
