// Auto configuration through the main window's commands, with the mail programs' registry
// keys written into the test prefix and their files in a private folder.
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/list_views.h"
#include "support/registry_fixture.h"

namespace {

const char kMailCommandKey[] = "mailto\\shell\\open\\command";
const char kBrowserCommandKey[] = "HTTP\\shell\\open\\command";
const char kReady[] = "You are now ready to send Voice & Video Emails!";

std::string InternetAccount(int index) {
    return "Software\\Microsoft\\Internet Account Manager\\Accounts\\0000000" +
           std::to_string(index);
}

class AutoConfiguration : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CopyField(programSettings.userName, "Old Name");
        CopyField(programSettings.mailFrom, "old@example.com");
        CopyField(programSettings.replyTo, "old-reply@example.com");
        CopyField(programSettings.serverName, "old.example.com");
        programSettings.smtpPort = 2525;
        programSettings.useMapi = 1;
    }
    void TearDown() override {
        ForgetDialogAction();
        MainWindowTest::TearDown();
        registry_.Restore();
    }

    void MailHandler(const std::string& command) {
        registry_.SetText(HKEY_CLASSES_ROOT, kMailCommandKey, nullptr, command);
    }
    void Browser(const std::string& command) {
        registry_.SetText(HKEY_CLASSES_ROOT, kBrowserCommandKey, nullptr, command);
    }
    void OutlookExpressAccount(int index, const std::string& address, const std::string& name,
                               const std::string& server) {
        const std::string key = InternetAccount(index);
        registry_.SetText(HKEY_CURRENT_USER, key, "SMTP Server", server);
        registry_.SetText(HKEY_CURRENT_USER, key, "SMTP Email Address", address);
        registry_.SetText(HKEY_CURRENT_USER, key, "SMTP Display Name", name);
    }
    // Detect, and every importer command it posts, as the main window handles them.
    void RunAutoConfiguration() {
        SendMessageA(window_, WM_COMMAND, IDM_AUTOCONFIG, 0);
        PumpMessages();
    }
    void ExpectUnchanged() {
        EXPECT_STREQ(programSettings.mailFrom, "old@example.com");
        EXPECT_STREQ(programSettings.serverName, "old.example.com");
        EXPECT_EQ(programSettings.useMapi, 1);
    }
    void ExpectReadyMessageOnly() {
        ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
        EXPECT_EQ(MessageBoxes::Calls()[0].text, kReady);
        EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Auto Configuration");
        EXPECT_EQ(MessageBoxes::Calls()[0].type, static_cast<UINT>(MB_OK));
    }

    RegistryFixture registry_;
};

TEST_F(AutoConfiguration, OneOutlookExpressAccountIsAppliedAtOnceWithPort25) {
    MailHandler("\"C:\\Program Files\\Outlook Express\\msimn.exe\" /mailurl:%1");
    OutlookExpressAccount(1, "ann@example.com", "Ann Lee", "smtp.example.com");
    RunAutoConfiguration();
    ExpectReadyMessageOnly();
    EXPECT_STREQ(programSettings.userName, "Ann Lee");
    EXPECT_STREQ(programSettings.mailFrom, "ann@example.com");
    EXPECT_STREQ(programSettings.replyTo, "");
    EXPECT_STREQ(programSettings.serverName, "smtp.example.com");
    EXPECT_EQ(programSettings.smtpPort, 25);
    EXPECT_EQ(programSettings.useMapi, 0);
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Ann Lee <ann@example.com>");
}

TEST_F(AutoConfiguration, TwoAccountsAreListedCancelExplainsAndOkNeedsASelection) {
    MailHandler("C:\\Program Files\\Outlook Express\\msimn.exe /mailurl:%1");
    OutlookExpressAccount(1, "ann@example.com", "Ann Lee", "smtp.example.com");
    OutlookExpressAccount(2, "bo@example.com", "Bo", "mail.example.com");
    registry_.SetText(HKEY_CURRENT_USER, InternetAccount(2), "SMTP Reply To Email Address",
                      "replies@example.com");
    // A key without an SMTP server is no account.
    registry_.SetText(HKEY_CURRENT_USER, InternetAccount(3), "SMTP Email Address", "x@y.z");

    std::string caption;
    std::vector<std::string> listed;
    WhenDialogAppears([&](HWND dialog) {
        caption = TextOf(dialog);
        listed = ListRows(GetDlgItem(dialog, IDC_AC_LIST), 1);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    RunAutoConfiguration();
    EXPECT_EQ(caption, "Auto Configuration");
    EXPECT_EQ(listed, (std::vector<std::string>{"ann@example.com", "bo@example.com"}));
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "You can automatically configure Kestro later\nfrom Options->Program "
              "Settings->AUTO");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Auto Configuration");
    ExpectUnchanged();

    MessageBoxes::Reset();
    bool stayedOpen = false;
    WhenDialogAppears([&](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        stayedOpen = IsWindow(dialog) != FALSE;
        SelectListItem(GetDlgItem(dialog, IDC_AC_LIST), 1);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    RunAutoConfiguration();
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(MessageBoxes::Calls().size(), 2u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text, "Please select your primary Email account.");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Auto Configuration warning");
    EXPECT_EQ(MessageBoxes::Calls()[1].text, kReady);
    EXPECT_STREQ(programSettings.mailFrom, "bo@example.com");
    EXPECT_STREQ(programSettings.replyTo, "replies@example.com");
    EXPECT_STREQ(programSettings.serverName, "mail.example.com");
    EXPECT_EQ(programSettings.smtpPort, 2525) << "the list leaves the port as it was";
    EXPECT_EQ(TextOf(Edit(IDC_FROM_EDIT)), "Bo <replies@example.com>");
}

TEST_F(AutoConfiguration, EudoraNeedsAServerLineAndItsLastLineNeedsNoLineBreak) {
    MailHandler("\"" + folder_ + "Eudora.exe\" /m %1");
    WriteWholeFile(folder_ + "eudora.ini", "[Settings]\r\nReturnAddress=ann@example.com\r\n"
                                           "RealName=Ann Lee\r\n");
    RunAutoConfiguration();
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    ExpectUnchanged();

    WriteWholeFile(folder_ + "eudora.ini", "[Settings]\r\nReturnAddress=ann@example.com\r\n"
                                           "SMTPServer=smtp.example.com");
    RunAutoConfiguration();
    ExpectReadyMessageOnly();
    EXPECT_STREQ(programSettings.serverName, "smtp.example.com");
}

TEST_F(AutoConfiguration, ACommunicatorProfileWithoutAServerGetsMail) {
    const std::string profile = folder_ + "USERS\\ann\\";
    CreateDirectoryA((folder_ + "USERS").c_str(), nullptr);
    CreateDirectoryA(profile.c_str(), nullptr);
    WriteWholeFile(profile + "prefs.js",
                   "// Netscape User Preferences\r\n"
                   "user_pref(\"mail.identity.useremail\", \"ann@example.com\");\r\n"
                   "user_pref(\"mail.identity.username\", \"Ann Lee\");\r\n");
    const std::string netscape = folder_ + "Communicator\\Program\\netscape.exe";
    struct Case {
        std::string mailHandler;
        std::string browser;
    } cases[] = {
        {"\"" + netscape + "\" -mail \"%1\"", "winebrowser.exe %1"},
        // A mail handler that names nothing known: the browser names Communicator.
        {"winebrowser.exe %1", netscape + " -h \"%1\""},
    };
    for (const Case& c : cases) {
        MessageBoxes::Reset();
        programSettings.serverName[0] = '\0';
        MailHandler(c.mailHandler);
        Browser(c.browser);
        RunAutoConfiguration();
        ExpectReadyMessageOnly();
        EXPECT_STREQ(programSettings.mailFrom, "ann@example.com") << c.mailHandler;
        EXPECT_STREQ(programSettings.serverName, "mail");
    }
}

TEST_F(AutoConfiguration, TheAutoButtonsOfBothSettingsDialogsStartIt) {
    MailHandler("OUTLOOK.EXE /m %1");
    OutlookExpressAccount(0, "ann@example.com", "Ann Lee", "smtp.example.com");
    // Program Settings closes with OK first: its encoder group must accept (GSM).
    WriteWholeFile(folder_ + "plugin.ini", "VERSION=10\nAUDIO_SELECTION=0\nMP3_QUALITY=0\n"
                                           "VIDEO_SELECTION=0\nREALVIDEO_SELECTION=1\n");
    WhenDialogAppears([&](HWND program) { SendMessageA(program, WM_COMMAND, IDC_PS_AUTO, 0); });
    SendMessageA(window_, WM_COMMAND, IDM_PROGRAM_SETTINGS, 0);
    PumpMessages();
    ExpectReadyMessageOnly();

    MessageBoxes::Reset();
    WhenDialogAppears([&](HWND program) {
        WhenDialogAppears([&](HWND email) { SendMessageA(email, WM_COMMAND, IDC_ES_AUTO, 0); });
        SendMessageA(program, WM_COMMAND, IDC_PS_ADVANCED, 0);
        SendMessageA(program, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageA(window_, WM_COMMAND, IDM_PROGRAM_SETTINGS, 0);
    PumpMessages();
    ExpectReadyMessageOnly();
}

TEST_F(AutoConfiguration, InternetExplorerAsTheBrowserRunsTheOutlookImporter) {
    MailHandler("winebrowser.exe %1");
    Browser("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome");
    OutlookExpressAccount(0, "ann@example.com", "Ann Lee", "smtp.example.com");
    RunAutoConfiguration();
    ExpectReadyMessageOnly();
    EXPECT_STREQ(programSettings.mailFrom, "ann@example.com");
}

TEST_F(AutoConfiguration, WithoutABrowserTheUserIsOfferedTheEmailSettings) {
    MailHandler("winebrowser.exe %1");
    registry_.Remove(HKEY_CLASSES_ROOT, kBrowserCommandKey, nullptr);
    std::string opened;
    WhenDialogAppears([&](HWND dialog) {
        opened = TextOf(dialog);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    MessageBoxes::Plan(IDOK);
    RunAutoConfiguration();
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text, "You need to configure your email before sending\n"
                                             "Emails with Kestro.  Would you like to do this now?");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Kestro Program Alert");
    EXPECT_EQ(MessageBoxes::Calls()[0].type, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(opened, "Email Settings");
}

TEST_F(AutoConfiguration, TheDefaultAppsChoiceFindsAnOutlook16Profile) {
    registry_.Remove(HKEY_CLASSES_ROOT, kMailCommandKey, nullptr);
    registry_.SetText(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\mailto\\"
                      "UserChoice",
                      "ProgId", "KestroTest.Url.mailto");
    registry_.SetText(HKEY_CLASSES_ROOT, "KestroTest.Url.mailto\\shell\\open\\command", nullptr,
                      "\"C:\\Program Files\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE\" -c "
                      "IPM.Note /m \"%1\"");
    const std::string accounts = "Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles\\Outlook\\"
                                 "9375CFF0413111d3B88A00104B2A6676\\";
    registry_.SetUtf16Binary(HKEY_CURRENT_USER, accounts + "00000001", "Account Name", L"Exchange");
    registry_.SetUtf16Binary(HKEY_CURRENT_USER, accounts + "00000002", "Email",
                             L"ren\u00e9@example.com");
    registry_.SetUtf16Binary(HKEY_CURRENT_USER, accounts + "00000002", "Display Name",
                             L"Ren\u00e9 Roe");
    registry_.SetUtf16Binary(HKEY_CURRENT_USER, accounts + "00000002", "SMTP Server",
                             L"smtp.office.example");
    registry_.SetData(HKEY_CURRENT_USER, accounts + "00000002", "SMTP Port", REG_DWORD,
                      std::string("\x4b\x02\0\0", 4));
    RunAutoConfiguration();
    ExpectReadyMessageOnly();
    EXPECT_STREQ(programSettings.mailFrom, "ren\xe9@example.com");
    EXPECT_STREQ(programSettings.userName, "Ren\xe9 Roe");
    EXPECT_STREQ(programSettings.serverName, "smtp.office.example");
    EXPECT_EQ(programSettings.smtpPort, 587);
}

// A Thunderbird profile folder in a private APPDATA: two identities on two servers.
class ThunderbirdConfiguration : public AutoConfiguration {
  protected:
    void SetUp() override {
        AutoConfiguration::SetUp();
        char previous[MAX_PATH] = {};
        GetEnvironmentVariableA("APPDATA", previous, MAX_PATH);
        previousAppData_ = previous;
        const std::string appData = folder_ + "AppData";
        SetEnvironmentVariableA("APPDATA", appData.c_str());
        thunderbird_ = appData + "\\Thunderbird\\";
        SHCreateDirectoryExA(nullptr, (thunderbird_ + "Profiles\\k3x9.default").c_str(), nullptr);
        CreateDirectoryA((folder_ + "Elsewhere").c_str(), nullptr);
        MailHandler("\"C:\\Program Files\\Mozilla Thunderbird\\thunderbird.exe\" -osint -compose "
                    "\"%1\"");
    }
    void TearDown() override {
        SetEnvironmentVariableA("APPDATA", previousAppData_.c_str());
        AutoConfiguration::TearDown();
    }

    std::string thunderbird_;
    std::string previousAppData_;
};

TEST_F(ThunderbirdConfiguration, TwoIdentitiesOnTwoServersAreListed) {
    WriteWholeFile(thunderbird_ + "profiles.ini",
                   "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile1]\r\nName=old\r\n"
                   "IsRelative=0\r\nPath=" +
                       folder_ +
                       "Elsewhere\r\n\r\n[Profile0]\r\nName=default\r\n"
                       "IsRelative=1\r\nPath=Profiles/k3x9.default\r\nDefault=1\r\n");
    WriteWholeFile(thunderbird_ + "Profiles\\k3x9.default\\prefs.js",
                   "// Mozilla User Preferences\n"
                   "user_pref(\"mail.identity.id1.fullName\", \"Ann \\\"A\\\" Lee\");\n"
                   "user_pref(\"mail.identity.id1.useremail\", \"ann@example.com\");\n"
                   "user_pref(\"mail.identity.id1.smtpServer\", \"smtp1\");\n"
                   "user_pref(\"mail.identity.id2.fullName\", \"Ann at Work\");\n"
                   "user_pref(\"mail.identity.id2.useremail\", \"ann@work.example\");\n"
                   "user_pref(\"mail.identity.id2.reply_to\", \"team@work.example\");\n"
                   "user_pref(\"mail.identity.id2.smtpServer\", \"smtp2\");\n"
                   "user_pref(\"mail.smtpserver.smtp1.hostname\", \"smtp.example.com\");\n"
                   "user_pref(\"mail.smtpserver.smtp2.hostname\", \"mail.work.example\");\n"
                   "user_pref(\"mail.smtpserver.smtp2.port\", 587);");
    // The profile with an absolute path has no prefs.js: it adds nothing.
    std::vector<std::string> listed;
    WhenDialogAppears([&](HWND dialog) {
        listed = ListRows(GetDlgItem(dialog, IDC_AC_LIST), 1);
        SelectListItem(GetDlgItem(dialog, IDC_AC_LIST), 1);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    RunAutoConfiguration();
    EXPECT_EQ(listed, (std::vector<std::string>{"ann@example.com", "ann@work.example"}));
    ExpectReadyMessageOnly();
    EXPECT_STREQ(programSettings.userName, "Ann at Work");
    EXPECT_STREQ(programSettings.replyTo, "team@work.example");
    EXPECT_STREQ(programSettings.serverName, "mail.work.example");
    EXPECT_EQ(programSettings.smtpPort, 587);
}

} // namespace
