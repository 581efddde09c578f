// The Program Settings and E-mail Settings dialogs, opened from the main window's menu.
#include <windows.h>

#include <string>

#include "app/win/app_state.h"
#include "mail/win/protected_password.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

class SettingsDialogs : public MainWindowTest {
  protected:
    // The encoder group refuses encoders that are not installed; the Windows codecs always are.
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteWholeFile(folder_ + "plugin.ini", "VERSION=10\nAUDIO_SELECTION=0\nMP3_QUALITY=0\n"
                                               "VIDEO_SELECTION=0\nREALVIDEO_SELECTION=1\n");
    }
};

bool ReadOnly(HWND dialog, int id) {
    return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0;
}

TEST_F(SettingsDialogs, EmailSettingsStoreTheSenderAndRefreshTheSenderLine) {
    programSettings.useMapi = 1;
    programSettings.smtpPort = 25;
    bool editsFollowedRadios = false;
    WhenDialogAppears([&](HWND program) {
        EXPECT_EQ(TextOf(program), "Program Settings");
        WhenDialogAppears([&](HWND email) {
            EXPECT_EQ(TextOf(email), "Email Settings");
            EXPECT_TRUE(Checked(email, IDC_USE_MAPI));
            EXPECT_TRUE(ReadOnly(email, IDC_ES_MAILFROM));
            CheckRadioButton(email, IDC_USE_MAPI, IDC_USE_SMTP, IDC_USE_SMTP);
            PumpMessagesFor(700); // the edits follow the radio buttons within half a second
            editsFollowedRadios =
                !ReadOnly(email, IDC_ES_MAILFROM) && !ReadOnly(email, IDC_ES_PORT);
            SetDlgItemTextA(email, IDC_ES_USERNAME, "Ann Lee");
            SetDlgItemTextA(email, IDC_ES_MAILFROM, "ann@example.com");
            SetDlgItemTextA(email, IDC_ES_SERVER, "127.0.0.1");
            SetDlgItemTextA(email, IDC_ES_PORT, "2525");
            SendMessageA(email, WM_COMMAND, IDOK, 0);
        });
        SendMessageA(program, WM_COMMAND, IDC_PS_ADVANCED, 0);
        EXPECT_TRUE(Checked(program, IDC_USE_SMTP)) << "the radios follow the new setting";
        SendMessageA(program, WM_COMMAND, IDOK, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_TRUE(editsFollowedRadios);
    EXPECT_EQ(programSettings.useMapi, 0);
    EXPECT_STREQ(programSettings.userName, "Ann Lee");
    EXPECT_STREQ(programSettings.mailFrom, "ann@example.com");
    EXPECT_STREQ(programSettings.serverName, "127.0.0.1");
    EXPECT_EQ(programSettings.smtpPort, 2525);
    PumpMessages();
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Ann Lee <ann@example.com>");
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(SettingsDialogs, EmailSettingsDefaultPortOnlyForSmtpAndCancelKeepsEverything) {
    programSettings.useMapi = 0;
    programSettings.smtpPort = 587;
    CopyField(programSettings.userName, "Bo");
    WhenDialogAppears([&](HWND program) {
        WhenDialogAppears([&](HWND email) {
            EXPECT_EQ(GetDlgItemInt(email, IDC_ES_PORT, nullptr, FALSE), 587u);
            SendMessageA(email, WM_COMMAND, IDC_ES_DEFAULT_PORT, 0);
            EXPECT_EQ(GetDlgItemInt(email, IDC_ES_PORT, nullptr, FALSE), 25u);
            CheckRadioButton(email, IDC_USE_MAPI, IDC_USE_SMTP, IDC_USE_MAPI);
            SetDlgItemTextA(email, IDC_ES_PORT, "110");
            SendMessageA(email, WM_COMMAND, IDC_ES_DEFAULT_PORT, 0);
            EXPECT_EQ(GetDlgItemInt(email, IDC_ES_PORT, nullptr, FALSE), 110u);
            SetDlgItemTextA(email, IDC_ES_USERNAME, "Changed");
            SendMessageA(email, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(program, WM_COMMAND, IDC_PS_ADVANCED, 0);
        SendMessageA(program, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_EQ(programSettings.smtpPort, 587);
    EXPECT_EQ(programSettings.useMapi, 0);
    EXPECT_STREQ(programSettings.userName, "Bo");
}

// The login: the security picks the default port, and the password is kept only protected
// for this user; the dialog shows it again (as dots) and keeps it when it is not retyped.
TEST_F(SettingsDialogs, EmailSettingsKeepTheLoginWithThePasswordProtected) {
    programSettings.useMapi = 0;
    const auto openEmailSettings = [&](const std::function<void(HWND)>& action) {
        WhenDialogAppears([&](HWND program) {
            WhenDialogAppears(action);
            SendMessageA(program, WM_COMMAND, IDC_PS_ADVANCED, 0);
            SendMessageA(program, WM_COMMAND, IDCANCEL, 0);
        });
        Command(window_, IDM_PROGRAM_SETTINGS);
    };
    openEmailSettings([&](HWND email) {
        HWND security = GetDlgItem(email, IDC_ES_SECURITY);
        EXPECT_EQ(ComboEntries(security),
                  (std::vector<std::string>{"None", "STARTTLS", "TLS (SSL) from the start"}));
        EXPECT_EQ(ComboSelection(security), "None");
        const unsigned ports[] = {25, 587, 465}; // none, STARTTLS, TLS from the start
        for (int choice : {1, 2, 0}) {
            SendMessageA(security, CB_SETCURSEL, choice, 0);
            SendMessageA(email, WM_COMMAND, IDC_ES_DEFAULT_PORT, 0);
            EXPECT_EQ(GetDlgItemInt(email, IDC_ES_PORT, nullptr, FALSE), ports[choice]);
        }
        SendMessageA(security, CB_SETCURSEL, 1, 0);
        SendMessageA(email, WM_COMMAND, IDC_ES_DEFAULT_PORT, 0);
        SetDlgItemTextA(email, IDC_ES_LOGIN_USER, "ann@example.com");
        SetDlgItemTextA(email, IDC_ES_LOGIN_PASSWORD, "tall trees 42");
        SendDlgItemMessageA(email, IDC_ES_LOGIN_PASSWORD, EM_SETMODIFY, TRUE, 0);
        SendMessageA(email, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(programSettings.smtpSecurity, 1);
    EXPECT_EQ(programSettings.smtpPort, 587);
    EXPECT_STREQ(programSettings.smtpUser, "ann@example.com");
    const std::string stored = programSettings.smtpPassword;
    EXPECT_GT(stored.size(), 64u);
    EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    char password[256];
    ASSERT_TRUE(UnprotectPassword(stored.c_str(), password, sizeof password));
    EXPECT_STREQ(password, "tall trees 42");

    openEmailSettings([&](HWND email) {
        EXPECT_EQ(ComboSelection(GetDlgItem(email, IDC_ES_SECURITY)), "STARTTLS");
        EXPECT_EQ(TextOf(GetDlgItem(email, IDC_ES_LOGIN_PASSWORD)), "tall trees 42");
        EXPECT_NE(GetWindowLongA(GetDlgItem(email, IDC_ES_LOGIN_PASSWORD), GWL_STYLE) & ES_PASSWORD,
                  0);
        SendMessageA(email, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(programSettings.smtpPassword, stored) << "an unchanged password is kept as it was";
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

TEST_F(SettingsDialogs, SmtpWithoutAServerIsRefusedAndTheDialogStaysOpen) {
    programSettings.useMapi = 1;
    CopyField(programSettings.mailFrom, "ann@example.com");
    bool stayedOpen = false;
    WhenDialogAppears([&](HWND program) {
        CheckRadioButton(program, IDC_USE_MAPI, IDC_USE_SMTP, IDC_USE_SMTP);
        CheckDlgButton(program, IDC_PS_ALWAYS_SAVE, BST_CHECKED);
        SendMessageA(program, WM_COMMAND, IDOK, 0);
        stayedOpen = IsWindow(program) && Checked(program, IDC_USE_MAPI);
        SendMessageA(program, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "You need to setup your SMTP information.\nUse the MAPI interface for sending "
              "emails.");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "SMTP Setup");
    EXPECT_EQ(programSettings.useMapi, 1);
    EXPECT_EQ(programSettings.alwaysSave, 0) << "nothing else was stored";
}

TEST_F(SettingsDialogs, CancelAfterTheEncoderGroupRefusedAChoiceStoresNothing) {
    programSettings.useMapi = 1;
    CopyField(programSettings.mailFrom, "ann@example.com");
    CopyField(programSettings.serverName, "127.0.0.1");
    bool stayedOpen = false;
    WhenDialogAppears([&](HWND program) {
        CheckRadioButton(program, IDC_USE_MAPI, IDC_USE_SMTP, IDC_USE_SMTP);
        for (int id :
             {IDC_PS_ALWAYS_CLOSE, IDC_PS_ALWAYS_SAVE, IDC_PS_ALWAYS_CLEAR, IDC_PS_ADDRESS_MAPI}) {
            CheckDlgButton(program, id, BST_CHECKED);
        }
        // No RealVideo encoder in the program folder: refused.
        CheckRadioButton(program, IDC_PS_VIDEO_WINDOWS, IDC_PS_VIDEO_REAL, IDC_PS_VIDEO_REAL);
        MessageBoxes::Plan(IDNO);
        SendMessageA(program, WM_COMMAND, IDOK, 0);
        stayedOpen = IsWindow(program) != FALSE;
        SendMessageA(program, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "REAL Video encoder not found!");
    EXPECT_EQ(programSettings.useMapi, 1);
    EXPECT_EQ(programSettings.alwaysClose, 0);
    EXPECT_EQ(programSettings.alwaysSave, 0);
    EXPECT_EQ(programSettings.alwaysClear, 0);
    EXPECT_EQ(programSettings.alwaysAddressMapi, 0);
}

TEST_F(SettingsDialogs, ProgramSettingsStoreThePostSendChoices) {
    programSettings.useMapi = 0;
    CopyField(programSettings.mailFrom, "ann@example.com");
    CopyField(programSettings.serverName, "127.0.0.1");
    programSettings.alwaysClear = 1;
    WhenDialogAppears([&](HWND program) {
        EXPECT_TRUE(Checked(program, IDC_USE_SMTP));
        EXPECT_TRUE(Checked(program, IDC_PS_ALWAYS_CLEAR));
        EXPECT_FALSE(Checked(program, IDC_PS_ALWAYS_CLOSE));
        CheckDlgButton(program, IDC_PS_ALWAYS_CLOSE, BST_CHECKED);
        CheckDlgButton(program, IDC_PS_ALWAYS_SAVE, BST_CHECKED);
        CheckDlgButton(program, IDC_PS_ALWAYS_CLEAR, BST_UNCHECKED);
        CheckDlgButton(program, IDC_PS_ADDRESS_MAPI, BST_CHECKED);
        SendMessageA(program, WM_COMMAND, IDOK, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_EQ(programSettings.useMapi, 0);
    EXPECT_EQ(programSettings.alwaysClose, 1);
    EXPECT_EQ(programSettings.alwaysSave, 1);
    EXPECT_EQ(programSettings.alwaysClear, 0);
    EXPECT_EQ(programSettings.alwaysAddressMapi, 1);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
}

} // namespace
