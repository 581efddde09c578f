#include "app/win/help_launcher.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/help_targets.h"
#include "app/win/app_state.h"
#include "base/scoped_file.h"
#include "resources/resource_ids.h"

void OpenHelpTarget(HWND mainWindow, int commandId) {
    OpenInBrowser(mainWindow, HelpTarget(commandId, programDirectory, kSettingsVersion).c_str(),
                  nullptr);
}

void OpenInBrowser(HWND owner, const char* target, HWND logoButton) {
    // The browser is whatever program the system names for a page of ours.
    const std::string page = std::string(programDirectory) + "Kestro.htm";
    if (ScopedFile file{page.c_str(), "w+"}) {
        std::fputs(HelpLauncherPage().c_str(), file.get());
    }
    char browser[MAX_PATH] = {};
    HINSTANCE found = FindExecutableA("Kestro.htm", programDirectory, browser);
    if (reinterpret_cast<INT_PTR>(found) <= 32 || browser[0] == '\0') {
        return; // no program opens HTML files
    }
    std::string folder, fileName;
    SplitProgramPath(browser, folder, fileName);
    if (logoButton) {
        SendMessageA(logoButton, WM_COMMAND, IDM_START_SEND_ANIMATION, 0);
    }
    ShellExecuteA(owner, "open", fileName.c_str(), target, folder.c_str(), SW_SHOWNORMAL);
}
