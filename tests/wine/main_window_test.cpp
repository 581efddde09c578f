// The main window as start-up builds it: children, layout, closing and the settings file.
#include <windows.h>

#include <commctrl.h>

#include "app/win/app_state.h"
#include "app/win/settings_store.h"
#include "compose/win/current_message.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

using MainWindow = MainWindowTest;

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

void ExpectRect(HWND window, int x, int y, int width, int height) {
    ASSERT_NE(window, nullptr);
    RECT r = RectInParent(window);
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

RECT Client(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return r;
}

std::string StatusPart(HWND statusBar, int part) {
    char text[256] = {};
    SendMessageA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(MainWindow, HasItsChildrenAtTheirPlacesAt96Dpi) {
    EXPECT_EQ(ClassOf(window_), "Kestro");
    EXPECT_EQ(TextOf(window_), "Kestro");
    const int w = Client(window_).right;
    const int h = Client(window_).bottom;

    HWND toolbar = Child(IDC_TOOLBAR);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(ClassOf(toolbar), TOOLBARCLASSNAMEA);
    const char* captions[] = {"Send", "Attach", "Voice", "Video", "Cancel"};
    for (int i = 0; i < 5; ++i) {
        HWND button = GetDlgItem(toolbar, IDC_SEND_BUTTON + i);
        ASSERT_NE(button, nullptr) << captions[i];
        EXPECT_EQ(TextOf(button), captions[i]);
        EXPECT_TRUE(GetWindowLongA(button, GWL_STYLE) & BS_OWNERDRAW);
        ExpectRect(button, 55 * i, 2, 55, 40);
    }
    HWND logo = GetDlgItem(toolbar, IDC_LOGO_BUTTON);
    EXPECT_EQ(TextOf(logo), "Icon");
    ExpectRect(logo, w - 55, 2, 50, 50);

    ExpectRect(composeWindows.addressPanel, 0, 45, w - 3, 112);
    EXPECT_EQ(ClassOf(composeWindows.addressPanel), "MAILFIELD_CLASS");
    EXPECT_TRUE(GetWindowLongA(composeWindows.addressPanel, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    // The format bar stands under the panel: y = 112 + 48; the size box is 2 * 16 + 11 wide.
    RECT font = RectInParent(Child(IDC_FONT_NAME_BOX));
    EXPECT_EQ(font.left, 10);
    EXPECT_EQ(font.top, 160);
    EXPECT_EQ(font.right - font.left, 175);
    RECT size = RectInParent(Child(IDC_FONT_SIZE_BOX));
    EXPECT_EQ(size.left, 195);
    EXPECT_EQ(size.right - size.left, 43);
    EXPECT_EQ(RectInParent(Child(IDC_COLOUR_BOX)).left, 248);
    ExpectRect(Child(IDC_BOLD_BUTTON), 303, 160, 25, 25);
    ExpectRect(Child(IDC_ITALIC_BUTTON), 328, 160, 25, 25);
    ExpectRect(Child(IDC_UNDERLINE_BUTTON), 353, 160, 25, 25);
    EXPECT_EQ(TextOf(Child(IDC_BOLD_BUTTON)), " B ");

    // Without attachments the body reaches down to the ad banner.
    HWND body = Child(IDC_BODY_EDITOR);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(_stricmp(ClassOf(body).c_str(), app.bodyClassFlag ? "richedit" : "RichEdit20A"), 0);
    ExpectRect(body, 0, 186, w - 2, h - 62 - 112 - 26 - 73);
    ExpectRect(Child(IDC_ATTACH_STRIP), 0, h, 0, 0);
    ExpectRect(Child(IDC_AD_BANNER), 0, h - 87, w, 62);

    ASSERT_NE(app.statusBar, nullptr);
    EXPECT_EQ(StatusPart(app.statusBar, 0), "Kestro");
    int edges[4] = {};
    ASSERT_EQ(SendMessageA(app.statusBar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 4);
    EXPECT_EQ(edges[0], w / 2);
    EXPECT_EQ(edges[1], w * 3 / 4);
    EXPECT_EQ(edges[3], -1);
}

TEST_F(MainWindow, IsEnlargedToItsMinimumSize) {
    MoveWindow(window_, 10, 10, 300, 250, TRUE);
    PumpMessages();
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.right - outer.left, 390);
    EXPECT_EQ(outer.bottom - outer.top, 400);
    EXPECT_EQ(StatusPart(app.statusBar, 0), "Kestro");
}

TEST_F(MainWindow, ClosingAnEmptyMessageAsksNothingAndWritesTheSettings) {
    SetWindowPos(window_, nullptr, 70, 60, 500, 560, SWP_NOZORDER);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_FALSE(IsWindow(window_));
    const std::string ini = ReadWholeFile(folder_ + "Kestro.ini");
    EXPECT_EQ(ini, "VERSION=20\r\nUSEMAPI=1\r\nUSERNAME=\r\nMAILFROM=\r\nREPLYTO=\r\n"
                   "SERVERNAME=\r\nSMTPPORT=25\r\nX=70\r\nY=60\r\nWIDTH=500\r\nHEIGHT=560\r\n"
                   "ATTACHDIR=\r\nVIDEOINDEX=0\r\nALWAYS_CLOSE=0\r\nALWAYS_SAVE=0\r\n"
                   "ALWAYS_CLEAR=0\r\nALWAYS_ADDRESS_MAPI=0\r\n");
}

TEST_F(MainWindow, ClosingAnUnsentMessageAsksAndNoKeepsItOpen) {
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "Lunch");
    MessageBoxes::Plan(IDNO);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    const MessageBoxCall& call = MessageBoxes::Calls()[0];
    EXPECT_EQ(call.text, "This e-mail has not been sent.\nClose the program?");
    EXPECT_EQ(call.caption, "Close Program");
    EXPECT_EQ(call.type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    EXPECT_TRUE(IsWindow(window_));

    MessageBoxes::Plan(IDYES);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(ReadWholeFile(folder_ + "Kestro.ini").substr(0, 12), "VERSION=20\r\n");
}

TEST_F(MainWindow, ClosingASentMessageAsksNothingButASendInProgressAlwaysAsks) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@example.com");
    alreadySent = 1;
    sendState = 0x4;
    MessageBoxes::Plan(IDNO);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_TRUE(IsWindow(window_));

    sendState = kSendStateFinished; // what a finished send leaves
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(MainWindow, AnEmptyMessageShowsThePlaceholdersAndHasNoContent) {
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "< click here to enter recipients >");
    EXPECT_EQ(TextOf(Edit(IDC_CC_EDIT)), "< click here to enter carbon copy recipients >");
    EXPECT_EQ(TextOf(Edit(IDC_BCC_EDIT)), "< click here to enter blind carbon copy recipients >");
    EXPECT_EQ(TextOf(Edit(IDC_SUBJECT_EDIT)), "< click here to enter subject text >");
    EXPECT_EQ(MessageHasContent(), 0);
    SetWindowTextA(composeWindows.bodyEditor, "Hello");
    EXPECT_EQ(MessageHasContent(), 1);
    ClearMessage();
    EXPECT_EQ(MessageHasContent(), 0);
}

TEST_F(MainWindow, TheSenderLineFollowsTheSettings) {
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "send via MAPI");
    programSettings.useMapi = 0;
    CopyField(programSettings.userName, "Ann Lee");
    CopyField(programSettings.mailFrom, "ann@example.com");
    SendMessageA(Edit(IDC_FROM_EDIT), WM_COMMAND, IDC_REFRESH_SENDER, 0);
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Ann Lee <ann@example.com>");
    CopyField(programSettings.replyTo, "replies@example.com");
    SendMessageA(Edit(IDC_FROM_EDIT), WM_COMMAND, IDC_REFRESH_SENDER, 0);
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Ann Lee <replies@example.com>");
    // Typing into the sender line changes nothing.
    SendMessageA(Edit(IDC_FROM_EDIT), WM_CHAR, 'x', 0);
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Ann Lee <replies@example.com>");
}

TEST_F(MainWindow, TheSubjectNamesTheWindow) {
    SetFocus(Edit(IDC_SUBJECT_EDIT));
    PumpMessages();
    EXPECT_EQ(TextOf(Edit(IDC_SUBJECT_EDIT)), "");
    SendMessageA(Edit(IDC_SUBJECT_EDIT), WM_CHAR, 'H', 0);
    SendMessageA(Edit(IDC_SUBJECT_EDIT), WM_CHAR, 'i', 0);
    EXPECT_EQ(TextOf(window_), "Hi");
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "");
    SetFocus(Edit(IDC_TO_EDIT));
    PumpMessages();
    EXPECT_EQ(TextOf(window_), "Kestro");
    EXPECT_EQ(TextOf(Edit(IDC_SUBJECT_EDIT)), "< click here to enter subject text >");
}

class MainWindowWithOldSettings : public MainWindowTest {
  protected:
    std::string InitialSettingsFile() const override {
        return "Ann Lee\nann@example.com\n\nsmtp.example.com\n-5\n20\n49\n300\nC:\\mail\\\n3";
    }
};

TEST_F(MainWindowWithOldSettings, ImportsTheOlderLayoutOnceAndWritesTheKeyedOne) {
    // The older file was read and deleted; its values stand in memory.
    EXPECT_FALSE(FileExists(folder_ + "Kestro.ini"));
    EXPECT_STREQ(programSettings.userName, "Ann Lee");
    EXPECT_STREQ(programSettings.serverName, "smtp.example.com");
    EXPECT_STREQ(programSettings.attachDir, "C:\\mail\\");
    EXPECT_EQ(programSettings.videoIndex, 3);
    EXPECT_EQ(programSettings.useMapi, 0);
    EXPECT_EQ(programSettings.smtpPort, 25);
    // A width of 49 and a negative X put the window back on the screen.
    EXPECT_EQ(programSettings.width, 472);
    EXPECT_EQ(programSettings.height, 553);
    EXPECT_EQ(programSettings.x, GetSystemMetrics(SM_CXSCREEN) / 4);
    EXPECT_EQ(programSettings.y, GetSystemMetrics(SM_CYSCREEN) / 4);
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Ann Lee <ann@example.com>");

    SendMessageA(window_, WM_CLOSE, 0, 0);
    const std::string ini = ReadWholeFile(folder_ + "Kestro.ini");
    EXPECT_EQ(ini.substr(0, 41), "VERSION=20\r\nUSEMAPI=0\r\nUSERNAME=Ann Lee\r\n");
}

TEST(Settings, AnUnwritableFileIsReported) {
    MessageBoxes::Reset();
    app.mainWindow = nullptr;
    CopyField(programDirectory, sizeof programDirectory, "Z:\\no\\such\\folder\\");
    EXPECT_EQ(WriteSettings(), 0);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text, "Error creating initialization file");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "File Error");
}

} // namespace
