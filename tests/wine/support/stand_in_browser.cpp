#include "support/stand_in_browser.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/harness.h"

StandInBrowser::StandInBrowser(const std::string& folder) : folder_(folder + "web\\") {
    const std::string from = TestProgramFolder() + "fake_browser.exe";
    CreateDirectoryA(folder_.c_str(), nullptr);
    EXPECT_TRUE(CopyFileA(from.c_str(), (folder_ + "fake_browser.exe").c_str(), FALSE));
    registry_.SetText(HKEY_CLASSES_ROOT, ".htm", nullptr, "KestroTestPage");
    registry_.SetText(HKEY_CLASSES_ROOT, "KestroTestPage\\shell\\open\\command", nullptr,
                      "\"" + folder_ + "fake_browser.exe\" \"%1\"");
}

std::string StandInBrowser::WaitForLog() const {
    const std::string log = folder_ + "browser.log";
    for (int i = 0; i < 200 && !FileExists(log); ++i) {
        Sleep(25);
    }
    Sleep(50);
    return ReadWholeFile(log);
}
