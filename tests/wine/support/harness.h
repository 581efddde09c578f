// Helpers for tests that drive Kestro's real windows under Wine.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Message boxes are answered by the test and recorded.
struct MessageBoxCall {
    std::string text;
    std::string caption;
    UINT type;
};

class MessageBoxes {
  public:
    // Answers the next message box with `answer`; unplanned boxes get IDCANCEL.
    static void Plan(int answer);
    static const std::vector<MessageBoxCall>& Calls();
    static void Reset();
    static int Respond(HWND owner, const char* text, const char* caption, UINT type);

  private:
    static std::vector<MessageBoxCall> calls_;
    static std::deque<int> answers_;
};

// Checks message box `index` (from 0) of those shown so far.
void ExpectMessageBox(size_t index, const std::string& text, const std::string& caption, UINT type);

// Processes every message waiting in this thread's queue (a stale WM_QUIT included).
void PumpMessages();
void PumpMessagesFor(int milliseconds);

// Runs `action` once on the next modal dialog this thread shows (the enabled one, when one
// dialog opened another), from inside its modal loop.
void WhenDialogAppears(std::function<void(HWND dialog)> action);
// Drops an action of WhenDialogAppears that has not run (no dialog appeared).
void ForgetDialogAction();

std::string TextOf(HWND window);

// Sends the command as the menu, a button or an accelerator would.
void Command(HWND window, int id, LPARAM lParam = 0);

// The check box or radio button of a dialog is checked.
bool Checked(HWND dialog, int id);

// The entries of a combo box, and the text of its selected entry ("" when none is).
std::vector<std::string> ComboEntries(HWND box);
std::string ComboSelection(HWND box);

// The folder of the test program (and of the programs built beside it), with a backslash.
std::string TestProgramFolder();

// Waits up to 15 seconds for a visible top-level window of another process with this class
// and, when given, this title; nullptr when none appears.
HWND WaitForWindow(DWORD processId, const char* className, const char* title = nullptr);

// ASCII capitals made small, as the attachment table stores paths.
std::string Lower(std::string text);

// A drop of the given paths, as the shell hands it over with WM_DROPFILES (the receiver frees
// it with DragFinish).
HDROP MakeDrop(const std::vector<std::string>& paths);

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

// A new empty folder under the temporary directory, with a trailing backslash.
std::string MakeTempFolder(const char* prefix);
void RemoveFolder(const std::string& folder);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// A main window created in this process, as start-up creates it, in a private program folder.
class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes Kestro.ini into the program folder before the window is created.
    virtual std::string InitialSettingsFile() const;

    HWND Child(int id) const;
    HWND Edit(int id) const;

    HWND window_ = nullptr;
    std::string folder_;
};
