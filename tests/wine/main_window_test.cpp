// The main window as start-up builds it: children, layout, closing and the settings file.
#include <windows.h>

#include <commctrl.h>

#include "app/main_layout.h"
#include "app/win/app_state.h"
#include "app/win/settings_store.h"
#include "compose/win/attachments.h"
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

void ExpectAt(HWND window, const LayoutRect& want) {
    ASSERT_NE(window, nullptr);
    RECT r = RectInParent(window);
    EXPECT_EQ(r.left, want.x);
    EXPECT_EQ(r.top, want.y);
    EXPECT_EQ(r.right - r.left, want.width);
    EXPECT_EQ(r.bottom - r.top, want.height);
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

// The sizes are the layout's (tested natively); the window must put each child there.
TEST_F(MainWindow, HasItsChildrenWhereTheLayoutPutsThem) {
    EXPECT_EQ(ClassOf(window_), "Kestro");
    EXPECT_EQ(TextOf(window_), "Kestro");
    HWND toolbar = Child(IDC_TOOLBAR);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(ClassOf(toolbar), TOOLBARCLASSNAMEA);
    EXPECT_EQ(ClassOf(composeWindows.addressPanel), "MAILFIELD_CLASS");
    EXPECT_TRUE(GetWindowLongA(composeWindows.addressPanel, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    HWND body = Child(IDC_BODY_EDITOR);
    EXPECT_EQ(_stricmp(ClassOf(body).c_str(), app.bodyClassFlag ? "richedit" : "RichEdit20A"), 0);
    EXPECT_EQ(StatusPart(app.statusBar, 0), "Kestro");

    // Without attachments, then with one: the strip appears and the body shrinks.
    for (int attachments : {0, 1}) {
        SCOPED_TRACE(attachments);
        if (attachments == 1) {
            const std::string file = folder_ + "notes.txt";
            WriteWholeFile(file, "some bytes");
            ASSERT_EQ(AddAttachment(file.c_str()), 1);
            PumpMessages();
        }
        const RECT client = Client(window_);
        const MainLayout want = ComputeMainLayout(
            client.right, client.bottom, app.adBanner != nullptr, attachments, app.metrics);
        const char* captions[] = {"Send", "Attach", "Voice", "Video", "Cancel"};
        for (int i = 0; i < 5; ++i) {
            HWND button = GetDlgItem(toolbar, IDC_SEND_BUTTON + i);
            EXPECT_EQ(TextOf(button), captions[i]);
            EXPECT_TRUE(GetWindowLongA(button, GWL_STYLE) & BS_OWNERDRAW);
            ExpectAt(button, want.pictureButtons[i]);
        }
        ExpectAt(GetDlgItem(toolbar, IDC_LOGO_BUTTON), want.logoButton);
        ExpectAt(composeWindows.addressPanel, want.addressPanel);
        ExpectAt(Child(IDC_BOLD_BUTTON), want.formatBar.boldButton);
        ExpectAt(Child(IDC_UNDERLINE_BUTTON), want.formatBar.underlineButton);
        EXPECT_EQ(RectInParent(Child(IDC_FONT_SIZE_BOX)).left, want.formatBar.sizeBox.x);
        ExpectAt(body, want.bodyEditor);
        ExpectAt(Child(IDC_ATTACH_STRIP), want.attachStrip);
        ExpectAt(Child(IDC_AD_BANNER), want.adBanner);
        int edges[4] = {};
        ASSERT_EQ(SendMessageA(app.statusBar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 4);
        EXPECT_EQ(edges[0], want.statusPartEdges[0]);
        EXPECT_EQ(edges[1], want.statusPartEdges[1]);
    }
}

TEST_F(MainWindow, IsEnlargedToItsMinimumSize) {
    MoveWindow(window_, 10, 10, 300, 250, TRUE);
    PumpMessages();
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.right - outer.left, kMinimumWindowWidth);
    EXPECT_EQ(outer.bottom - outer.top, kMinimumWindowHeight);
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
                   "ALWAYS_CLEAR=0\r\nALWAYS_ADDRESS_MAPI=0\r\nADLOCATION1=\r\nADLOCATION2=\r\n"
                   "ADBANNER=0\r\n");
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
    CopyField(programSettings.replyTo, "replies@example.com");
    Command(Edit(IDC_FROM_EDIT), IDC_REFRESH_SENDER);
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
    // The older file was read and deleted (its layout is read natively); a width of 49 and a
    // negative X put the window back on this screen.
    EXPECT_FALSE(FileExists(folder_ + "Kestro.ini"));
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
