#include "support/harness.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ad/ad_url.h"
#include "app/win/app_state.h"
#include "app/win/settings_store.h"
#include "app/win/startup.h"
#include "base/win/message_box.h"
#include "compose/win/address_panel.h"
#include "compose/win/current_message.h"
#include "mail/reachability.h"
#include "mail/win/send_state.h"

std::vector<MessageBoxCall> MessageBoxes::calls_;
std::deque<int> MessageBoxes::answers_;

void MessageBoxes::Plan(int answer) {
    answers_.push_back(answer);
}

const std::vector<MessageBoxCall>& MessageBoxes::Calls() {
    return calls_;
}

void MessageBoxes::Reset() {
    calls_.clear();
    answers_.clear();
}

int MessageBoxes::Respond(HWND, const char* text, const char* caption, UINT type) {
    calls_.push_back({text ? text : "", caption ? caption : "", type});
    if (answers_.empty()) {
        return IDCANCEL;
    }
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void ExpectMessageBox(size_t index, const std::string& text, const std::string& caption,
                      UINT type) {
    ASSERT_GT(MessageBoxes::Calls().size(), index);
    const MessageBoxCall& call = MessageBoxes::Calls()[index];
    EXPECT_EQ(call.text, text);
    EXPECT_EQ(call.caption, caption);
    EXPECT_EQ(call.type, type);
}

void PumpMessagesFor(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (static_cast<int>(end - GetTickCount()) > 0) {
        PumpMessages();
        Sleep(10);
    }
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

namespace {

std::function<void(HWND)> pendingDialogAction;
UINT_PTR dialogTimer = 0;

BOOL CALLBACK FindDialog(HWND window, LPARAM result) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DialogTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        return;
    }
    KillTimer(nullptr, dialogTimer);
    dialogTimer = 0;
    auto action = std::move(pendingDialogAction);
    pendingDialogAction = nullptr;
    action(dialog);
}

} // namespace

void WhenDialogAppears(std::function<void(HWND)> action) {
    pendingDialogAction = std::move(action);
    dialogTimer = SetTimer(nullptr, 0, 20, DialogTimerProc);
}

void ForgetDialogAction() {
    if (dialogTimer != 0) {
        KillTimer(nullptr, dialogTimer);
        dialogTimer = 0;
    }
    pendingDialogAction = nullptr;
}

std::string TextOf(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

void Command(HWND window, int id, LPARAM lParam) {
    SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), lParam);
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

namespace {

std::string ComboEntry(HWND box, LRESULT entry) {
    char text[256] = {};
    if (entry >= 0 && SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(entry), 0) <
                          static_cast<LRESULT>(sizeof text)) {
        SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(entry), reinterpret_cast<LPARAM>(text));
    }
    return text;
}

} // namespace

std::vector<std::string> ComboEntries(HWND box) {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        entries.push_back(ComboEntry(box, i));
    }
    return entries;
}

std::string ComboSelection(HWND box) {
    return ComboEntry(box, SendMessageA(box, CB_GETCURSEL, 0, 0));
}

std::string TestProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && std::string(className) == search->className &&
        (!search->title || TextOf(window) == search->title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND WaitForWindow(DWORD processId, const char* className, const char* title) {
    for (int i = 0; i < 300; ++i) {
        WindowSearch search = {processId, className, title, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && IsWindowVisible(search.found)) {
            return search.found;
        }
        Sleep(50);
    }
    return nullptr;
}

RECT RectInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string MakeTempFolder(const char* prefix) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        char folder[MAX_PATH];
        std::snprintf(folder, sizeof folder, "%s%s-%lu-%d\\", base, prefix, GetCurrentProcessId(),
                      ++counter);
        if (CreateDirectoryA(folder, nullptr)) {
            return folder;
        }
    }
}

void RemoveFolder(const std::string& folder) {
    if (folder.empty()) {
        return; // a fixture that skipped before making its folder: never the current directory
    }
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(folder + name + "\\");
            } else {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

bool IsOnThisMachine(const char* url) {
    AdUrl parsed;
    return ParseAdUrl(url, parsed) && IsLoopbackHost(parsed.host);
}

} // namespace

std::string MainWindowTest::InitialSettingsFile() const {
    return "VERSION=20\nUSEMAPI=1\nSMTPPORT=25\nX=50\nY=40\nWIDTH=472\nHEIGHT=553\n";
}

void MainWindowTest::SetUp() {
    const HINSTANCE instance = app.instance;
    const HMODULE richEdit = app.richEditModule;
    const int bodyClassFlag = app.bodyClassFlag;
    app = MainWindowState{};
    app.instance = instance;
    app.richEditModule = richEdit;
    app.bodyClassFlag = bodyClassFlag;
    app.videoDriversMissing = 1;
    programSettings = ProgramSettings{};
    sendState = 0;
    htmlFormatting = 0;
    alreadySent = 0;
    MessageBoxes::Reset();

    folder_ = MakeTempFolder("kestro-test");
    CopyField(programDirectory, sizeof programDirectory, folder_.c_str());
    const std::string settings = InitialSettingsFile();
    if (!settings.empty()) {
        WriteWholeFile(folder_ + "Kestro.ini", settings);
    }
    ReadSettings();
    // A window made with the first-run settings would ask the vendor's ad servers: no test
    // reaches a host beyond this machine, so the banner runs only against local servers.
    if (!IsOnThisMachine(programSettings.adLocation1) ||
        !IsOnThisMachine(programSettings.adLocation2)) {
        programSettings.adBanner = 0;
    }
    window_ = CreateMainWindow();
    ASSERT_NE(window_, nullptr) << "CreateWindowEx failed, error " << GetLastError();
    ShowWindow(window_, SW_SHOWNORMAL);
    PumpMessages();
}

void MainWindowTest::TearDown() {
    if (window_ && IsWindow(window_)) {
        DestroyWindow(window_);
    }
    PumpMessages();
    RemoveFolder(folder_);
}

HWND MainWindowTest::Child(int id) const {
    return GetDlgItem(window_, id);
}

HWND MainWindowTest::Edit(int id) const {
    return AddressEdit(id);
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths) {
        size += path.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& path : paths) {
        std::memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    *names = '\0';
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
