// Kestro.exe started as a user starts it: its window, a second start, the first-run question
// and the settings file it leaves behind.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "support/harness.h"
#include "support/voice_recording.h"

namespace {

// The text of a window of another process: GetWindowText would not ask that process.
std::string AskedTextOf(HWND window) {
    char text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    return text;
}

BOOL CALLBACK CountKestroWindows(HWND window, LPARAM count) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "Kestro") {
        ++*reinterpret_cast<int*>(count);
    }
    return TRUE;
}

class StartedKestro : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakeTempFolder("kestro-run");
        ASSERT_TRUE(CopyTestProgram("Kestro.exe", folder_));
        ASSERT_TRUE(CopyTestProgram("kto2mp3.exe", folder_));
    }

    void TearDown() override {
        for (PROCESS_INFORMATION& process : processes_) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 99);
                WaitForSingleObject(process.hProcess, 5000);
            }
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        RemoveFolder(folder_);
    }

    // Starts Kestro.exe from another working directory, as a shortcut would.
    PROCESS_INFORMATION Start() {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::string exe = folder_ + "Kestro.exe";
        char commandLine[MAX_PATH + 4];
        lstrcpynA(commandLine, ("\"" + exe + "\"").c_str(), sizeof commandLine);
        char workingDirectory[MAX_PATH];
        GetTempPathA(MAX_PATH, workingDirectory);
        EXPECT_TRUE(CreateProcessA(exe.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                                   workingDirectory, &startup, &process));
        processes_.push_back(process);
        return process;
    }

    DWORD WaitForExit(const PROCESS_INFORMATION& process) {
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 15000), WAIT_OBJECT_0);
        DWORD code = 12345;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    void WriteSettings(const std::string& text) { WriteWholeFile(folder_ + "Kestro.ini", text); }

    std::string folder_;
    std::vector<PROCESS_INFORMATION> processes_;
};

TEST_F(StartedKestro, ShowsItsWindowAndLeavesTwentySettingsLinesOnClosing) {
    WriteSettings("VERSION=20\r\nUSEMAPI=1\r\nX=30\r\nY=20\r\nWIDTH=472\r\nHEIGHT=553\r\n");
    PROCESS_INFORMATION process = Start();
    HWND window = WaitForWindow(process.dwProcessId, "Kestro");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TextOf(window), "Kestro");

    EXPECT_NE(FindWindowExA(window, nullptr, "MAILFIELD_CLASS", nullptr), nullptr);
    HWND statusBar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(AskedTextOf(statusBar), "Kestro");

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(process), 0u);
    const std::string ini = ReadWholeFile(folder_ + "Kestro.ini");
    EXPECT_EQ(ini.substr(0, 12), "VERSION=20\r\n");
    int lines = 0;
    for (size_t at = ini.find("\r\n"); at != std::string::npos; at = ini.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 20); // the stated seventeen and the ad banner's three
    EXPECT_NE(ini.find("\r\nX=30\r\nY=20\r\nWIDTH=472\r\nHEIGHT=553\r\n"), std::string::npos);
}

TEST_F(StartedKestro, ASecondStartRaisesTheFirstAndEnds) {
    WriteSettings("VERSION=20\r\nUSEMAPI=1\r\n");
    PROCESS_INFORMATION first = Start();
    HWND window = WaitForWindow(first.dwProcessId, "Kestro");
    ASSERT_NE(window, nullptr);

    PROCESS_INFORMATION second = Start();
    EXPECT_EQ(WaitForExit(second), 0u);
    int windows = 0;
    EnumWindows(CountKestroWindows, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 1);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(first), 0u);
}

TEST_F(StartedKestro, AFirstRunOffersAutoConfigurationAndFallsBackToMapi) {
    // A settings file of the older layout makes a first run too. Unlike no file at all it
    // leaves the ad banner off, so the program asks no ad server beyond this machine.
    WriteSettings("Ann Lee\r\nann@example.com\r\n");
    PROCESS_INFORMATION process = Start();
    HWND question = WaitForWindow(process.dwProcessId, "#32770", "Kestro program settings");
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);

    HWND window = WaitForWindow(process.dwProcessId, "Kestro");
    ASSERT_NE(window, nullptr);
    HWND panel = FindWindowExA(window, nullptr, "MAILFIELD_CLASS", nullptr);
    HWND from = GetDlgItem(panel, 1070);
    // The imported sender shows first; the answer's refresh then shows the MAPI choice.
    for (int i = 0; i < 100 && AskedTextOf(from) != "send via MAPI"; ++i) {
        Sleep(20);
    }
    EXPECT_EQ(AskedTextOf(from), "send via MAPI");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(process), 0u);
    const std::string ini = ReadWholeFile(folder_ + "Kestro.ini");
    EXPECT_EQ(ini.substr(0, 23), "VERSION=20\r\nUSEMAPI=1\r\n");
    EXPECT_NE(ini.find("\r\nSMTPPORT=25\r\n"), std::string::npos);
}

} // namespace
