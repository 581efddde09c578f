#include "support/stand_in_browser.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/harness.h"

namespace {

void SetClassValue(const char* key, const std::string& value) {
    EXPECT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                              static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS)
        << key;
}

} // namespace

StandInBrowser::StandInBrowser(const std::string& folder) : folder_(folder + "web\\") {
    const std::string from = TestProgramFolder() + "fake_browser.exe";
    CreateDirectoryA(folder_.c_str(), nullptr);
    EXPECT_TRUE(CopyFileA(from.c_str(), (folder_ + "fake_browser.exe").c_str(), FALSE));
    char previous[256] = {};
    LONG size = sizeof previous;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", previous, &size) == ERROR_SUCCESS) {
        previousHtmClass_ = previous;
    }
    SetClassValue(".htm", "KestroTestPage");
    SetClassValue("KestroTestPage\\shell\\open\\command",
                  "\"" + folder_ + "fake_browser.exe\" \"%1\"");
}

StandInBrowser::~StandInBrowser() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "KestroTestPage");
    SetClassValue(".htm", previousHtmClass_);
}

std::string StandInBrowser::WaitForLog() const {
    const std::string log = folder_ + "browser.log";
    for (int i = 0; i < 200 && !FileExists(log); ++i) {
        Sleep(25);
    }
    Sleep(50);
    return ReadWholeFile(log);
}
