// The main window's commands as the menu and the toolbar send them.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/win/app_state.h"
#include "compose/win/current_message.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/stand_in_browser.h"

namespace {

using Commands = MainWindowTest;

TEST_F(Commands, NewMessageAsksEvenWhenEmptyAndClearsEverythingOnOk) {
    Command(window_, IDM_NEW_MESSAGE); // unanswered: Cancel
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    ExpectMessageBox(0, "This e-mail has not been sent.\nClear the message anyways?",
                     "New Message Notification", MB_OKCANCEL | MB_ICONEXCLAMATION);

    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@example.com");
    SetWindowTextA(Edit(IDC_CC_EDIT), "bo@example.com");
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "Plans");
    SetWindowTextA(composeWindows.bodyEditor, "See you");
    htmlFormatting = 1;
    Command(window_, IDM_NEW_MESSAGE);
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "ann@example.com") << "Cancel keeps the message";

    MessageBoxes::Plan(IDOK);
    Command(window_, IDM_NEW_MESSAGE);
    PumpMessages();
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "< click here to enter recipients >");
    EXPECT_EQ(TextOf(Edit(IDC_CC_EDIT)), "< click here to enter carbon copy recipients >");
    EXPECT_EQ(TextOf(Edit(IDC_SUBJECT_EDIT)), "< click here to enter subject text >");
    EXPECT_EQ(TextOf(composeWindows.bodyEditor), "");
    EXPECT_EQ(htmlFormatting, 0);
    EXPECT_EQ(MessageHasContent(), 0);
}

TEST_F(Commands, NewMessageAfterASendAsksNothing) {
    SetWindowTextA(Edit(IDC_TO_EDIT), "ann@example.com");
    alreadySent = 1;
    Command(window_, IDM_NEW_MESSAGE);
    PumpMessages();
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "< click here to enter recipients >");
    EXPECT_EQ(alreadySent, 0);
}

TEST_F(Commands, TabMovesThroughTheFieldsIntoTheBody) {
    SetFocus(Edit(IDC_BCC_EDIT));
    SendMessageA(Edit(IDC_BCC_EDIT), WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), Edit(IDC_SUBJECT_EDIT));
    SendMessageA(Edit(IDC_SUBJECT_EDIT), WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), composeWindows.bodyEditor);
    SetFocus(Edit(IDC_TO_EDIT));
    SendMessageA(Edit(IDC_TO_EDIT), WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), Edit(IDC_CC_EDIT));
    EXPECT_EQ(TextOf(Edit(IDC_TO_EDIT)), "< click here to enter recipients >")
        << "leaving an empty field brings its placeholder back";
}

TEST_F(Commands, TheAboutBoxWebSiteButtonAsksForTheWebSite) {
    WhenDialogAppears([](HWND about) {
        EXPECT_EQ(TextOf(about), "About Kestro");
        SendMessageA(about, WM_COMMAND, IDC_ABOUT_WEBSITE, 0);
        MSG posted;
        EXPECT_TRUE(PeekMessageA(&posted, app.mainWindow, WM_COMMAND, WM_COMMAND, PM_REMOVE));
        EXPECT_EQ(posted.wParam, static_cast<WPARAM>(IDM_WEBSITE));
        SendMessageA(about, WM_COMMAND, IDOK, 0);
    });
    Command(window_, IDM_ABOUT);
}

TEST_F(Commands, TheVideoDriverNoticeNamesTheCheckedDriverAndClosesItself) {
    HMENU options = GetSubMenu(GetMenu(window_), 2);
    HMENU drivers = GetSubMenu(options, 2);
    ASSERT_NE(drivers, nullptr);
    // No capture driver here: the submenu holds its one disabled item.
    ASSERT_EQ(GetMenuItemCount(drivers), 1);
    char label[64] = {};
    GetMenuStringA(drivers, 0, label, sizeof label, MF_BYPOSITION);
    EXPECT_STREQ(label, "No Video Drivers");
    EXPECT_EQ(app.videoDriversMissing, 1);

    // Drivers 0 and 2 as start-up lists them: the check mark follows the position.
    DeleteMenu(drivers, 0, MF_BYPOSITION);
    AppendMenuA(drivers, MF_STRING, IDM_VIDEO_DRIVER_FIRST, "&0 Studio Camera");
    AppendMenuA(drivers, MF_STRING, IDM_VIDEO_DRIVER_FIRST + 2, "&2 Desk Camera");
    std::string shown;
    DWORD opened = 0;
    WhenDialogAppears([&](HWND notice) {
        opened = GetTickCount();
        shown = TextOf(GetDlgItem(notice, IDC_DRIVER_NAME));
    });
    Command(window_, IDM_VIDEO_DRIVER_FIRST);
    const DWORD open = GetTickCount() - opened;
    EXPECT_EQ(shown, "Studio Camera");
    EXPECT_EQ(programSettings.videoIndex, 0);
    EXPECT_GE(open, 1500u) << "the notice stays about two seconds";
    EXPECT_LT(open, 6000u) << "and then closes by itself";
    EXPECT_TRUE(GetMenuState(drivers, 0, MF_BYPOSITION) & MF_CHECKED);
}

// The Help commands start the stand-in browser registered for HTML pages.
class HelpCommands : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        browser_ = std::make_unique<StandInBrowser>(folder_);
    }
    void TearDown() override {
        browser_.reset();
        MainWindowTest::TearDown();
    }

    std::string WaitForBrowserLog() const { return browser_->WaitForLog(); }

    std::unique_ptr<StandInBrowser> browser_;
};

TEST_F(HelpCommands, DocumentationOpensTheLocalPageInTheNamedBrowser) {
    Command(window_, IDM_DOCUMENTATION);
    EXPECT_EQ(ReadWholeFile(folder_ + "Kestro.htm"),
              "<p align=\"center\"><a href=\"http://www.kestro.example/\">KESTRO WEBSITE</a>"
              "</p>\r\n");
    const std::string log = WaitForBrowserLog();
    ASSERT_FALSE(log.empty()) << "the browser was not started";
    EXPECT_NE(log.find("fake_browser.exe"), std::string::npos) << log;
    EXPECT_NE(log.find(folder_ + "DOCS\\documentation.htm"), std::string::npos) << log;
    const std::string startedIn = log.substr(log.find('\n') + 1);
    EXPECT_EQ(
        _strnicmp(startedIn.c_str(), browser_->Folder().c_str(), browser_->Folder().size() - 1), 0)
        << log;
}

TEST_F(HelpCommands, TheUpdateCheckAsksTheVendorSiteWithTheVersion) {
    Command(window_, IDM_CHECK_UPDATES);
    const std::string log = WaitForBrowserLog();
    EXPECT_NE(log.find("http://www.kestro.example/cgi-bin/checkupdate.cgi?version%3d20"),
              std::string::npos)
        << log;
}

} // namespace
