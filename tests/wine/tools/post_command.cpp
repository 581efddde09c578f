// Posts a command to the running Kestro main window (found by its class name), as a click on
// a menu item does, or to the window with the given caption, as a click on one of its buttons
// does; scripts/screenshot.sh uses it to open a dialog (and press a button in it) before taking
// its picture.
//     post_command.exe <command id> [<window caption>]
// Ends with 0 when the command was posted, 1 when there is no window or no id.
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char* rest = nullptr;
    const long id = std::strtol(commandLine, &rest, 10);
    std::string caption = rest != nullptr ? rest : "";
    caption.erase(0, caption.find_first_not_of(" \""));
    caption.erase(caption.find_last_not_of(" \"") + 1);
    HWND window =
        caption.empty() ? FindWindowA("Kestro", nullptr) : FindWindowA(nullptr, caption.c_str());
    if (!window || id <= 0 || id > 0xFFFF) {
        return 1;
    }
    return PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 0 : 1;
}
