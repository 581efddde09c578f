// The readers of the older mail programs' files (eudora.ini, a Communicator prefs.js), the
// profile scan's rule, and the candidate table they fill.
#include <gtest/gtest.h>

#include <string>

#include "autoconfig/account_candidates.h"
#include "autoconfig/apply_account.h"
#include "autoconfig/communicator_prefs.h"
#include "autoconfig/eudora_ini.h"
#include "autoconfig/mail_handler.h"

namespace {

TEST(EudoraIni, KeysGiveTheRestOfTheirLine) {
    struct Case {
        const char* text;
        const char* server;
        const char* address;
        const char* name;
    } cases[] = {
        {"[Settings]\r\nSMTPServer=smtp.example.com\r\nReturnAddress=ann@example.com\r\n"
         "RealName=Ann Lee\r\n",
         "smtp.example.com", "ann@example.com", "Ann Lee"},
        // A last line without a line break keeps its last character.
        {"RealName=Ann Lee\nSMTPServer=mail.example.com", "mail.example.com", "", "Ann Lee"},
        {"RealName=Ann\r", "", "", "Ann"},
        // A later line overrides an earlier one; an empty value empties the field.
        {"SMTPServer=one\nSMTPServer=two\nReturnAddress=a@b\nReturnAddress=\n", "two", "", ""},
        // A key inside a line: the value follows the key, not the line's start.
        {"  SMTPServer=indented\n", "indented", "", ""},
        // A line with two keys gives only the first of the search order.
        {"RealName=SMTPServer=x\n", "x", "", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        const EudoraSettings got = ReadEudoraIni(c.text);
        EXPECT_EQ(got.server, c.server) << c.text;
        EXPECT_EQ(got.address, c.address) << c.text;
        EXPECT_EQ(got.name, c.name) << c.text;
    }
}

TEST(EudoraIni, AnOverlongLineIsOneLine) {
    // The tail of a long line must not pass for a line of its own.
    const std::string text =
        "RealName=" + std::string(300, 'n') + "SMTPServer=tail\nReturnAddress=a@b.c\n";
    const EudoraSettings got = ReadEudoraIni(text);
    EXPECT_EQ(got.server, "tail"); // the key is in the line: first in the search order
    EXPECT_EQ(got.address, "a@b.c");
}

TEST(CommunicatorPrefs, ValuesSitBetweenTheOpeningQuoteAndTheClosingThree) {
    const std::string prefs = "// Netscape User Preferences\r\n"
                              "user_pref(\"browser.startup.homepage\", \"http://x/\");\r\n"
                              "user_pref(\"mail.identity.useremail\", \"ann@example.com\");\r\n"
                              "user_pref(\"mail.identity.username\", \"Ann Lee\");\r\n"
                              "user_pref(\"mail.identity.reply_to\", \"r@example.com\");\r\n"
                              "user_pref(\"network.hosts.smtp_server\", \"smtp.example.com\");";
    const CommunicatorSettings got = ReadCommunicatorPrefs(prefs);
    EXPECT_EQ(got.address, "ann@example.com");
    EXPECT_EQ(got.name, "Ann Lee");
    EXPECT_EQ(got.replyTo, "r@example.com");
    EXPECT_EQ(got.server, "smtp.example.com") << "the last line has no line break";
}

TEST(CommunicatorPrefs, HostileLinesStayInsideTheLine) {
    struct Case {
        const char* line;
        const char* address;
    } cases[] = {
        {"user_pref(\"mail.identity.useremail\", \"a@b\");\n", "a@b"},
        {"user_pref(\"mail.identity.useremail\", \"a@b\");", "a@b"},
        // Shorter than the value's position, or just long enough: empty, never a read before.
        {"user_pref(\"mail.identity.useremail\",\n", ""},
        {"user_pref(\"mail.identity.useremail\", \"\");", ""},
        {"user_pref(\"mail.identity.useremail\", \"x", ""},
        // A cut closing quote: the fixed positions still decide.
        {"user_pref(\"mail.identity.useremail\", \"abcdef", "abc"},
        // Escapes are taken as they stand.
        {"user_pref(\"mail.identity.useremail\", \"a\\\"b\");", "a\\\"b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadCommunicatorPrefs(c.line).address, c.address) << c.line;
    }
    const std::string longValue(600, 'v');
    EXPECT_EQ(ReadCommunicatorPrefs("user_pref(\"network.hosts.smtp_server\", \"" + longValue +
                                    "\");\r\n")
                  .server,
              longValue);
}

TEST(CommunicatorPrefs, TheProfileScanSkipsTheDotEntriesByName) {
    EXPECT_EQ(ClassifyUsersEntry(".", kEntryDirectory), UsersEntry::PassOver);
    EXPECT_EQ(ClassifyUsersEntry("..", kEntryDirectory), UsersEntry::PassOver);
    EXPECT_EQ(ClassifyUsersEntry("ann", kEntryDirectory), UsersEntry::Profile);
    EXPECT_EQ(ClassifyUsersEntry("...", kEntryDirectory), UsersEntry::Profile);
    EXPECT_EQ(ClassifyUsersEntry("ann", kEntryDirectory | 0x01), UsersEntry::PassOver);
    EXPECT_EQ(ClassifyUsersEntry("notes.txt", kEntryArchive), UsersEntry::EndWithBeep);
    EXPECT_EQ(ClassifyUsersEntry("notes.txt", kEntryArchive | 0x02), UsersEntry::PassOver);
    EXPECT_EQ(ClassifyUsersEntry(nullptr, kEntryDirectory), UsersEntry::PassOver);
}

TEST(MailHandler, TheCommandLineNamesTheImporter) {
    struct Case {
        const char* command;
        Importer mail;
        Importer browser;
    } cases[] = {
        {"\"C:\\Program Files\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE\" -c IPM.Note /m "
         "\"%1\"",
         Importer::Outlook, Importer::None},
        {"C:\\PROGRA~1\\OUTLOO~1\\msimn.exe /mailurl:%1", Importer::None, Importer::None},
        {"\"C:\\Qualcomm\\Eudora\\Eudora.exe\" /m %1", Importer::Eudora, Importer::None},
        {"C:\\Netscape\\Communicator\\Program\\netscape.exe -mail", Importer::Communicator,
         Importer::Communicator},
        {"C:\\Netscape\\Navigator\\Program\\netscape.exe", Importer::Navigator,
         Importer::Navigator},
        {"\"C:\\Program Files\\Mozilla Thunderbird\\thunderbird.exe\" -osint -compose \"%1\"",
         Importer::Thunderbird, Importer::None},
        {"\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" -nohome", Importer::None,
         Importer::Outlook},
        {"C:\\Outlook\\eudora", Importer::Outlook, Importer::None},  // Outlook is searched first
        {"C:\\OutLook\\EuDora.exe", Importer::None, Importer::None}, // three spellings only
        {"winebrowser %1", Importer::None, Importer::None},
        {"", Importer::None, Importer::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImporterForMailCommand(c.command), c.mail) << c.command;
        EXPECT_EQ(ImporterForBrowserCommand(c.command), c.browser) << c.command;
    }
    EXPECT_EQ(ImporterForMailCommand(nullptr), Importer::None);

    std::string folder;
    EXPECT_TRUE(FolderBeforeProgramName("D:\\Net\\communicator\\COMMUNICATOR\\x.exe",
                                        "COMMUNICATOR", "Communicator", "communicator", folder));
    EXPECT_EQ(folder, "D:\\Net\\communicator\\") << "the upper-case spelling is tried first";
    EXPECT_FALSE(FolderBeforeProgramName(nullptr, "A", "a", "a", folder));
}

TEST(CandidateTable, HoldsThirtyTwoCutToFitAndListsAnAccountOnce) {
    CandidateTable table{};
    const std::string longText(400, 'x');
    EXPECT_TRUE(AddCandidate(
        table, {longText.c_str(), nullptr, "r", "s", 587, ConnectionSecurity::StartTls}));
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(std::string(table.slots[0].address), std::string(255, 'x'));
    EXPECT_STREQ(table.slots[0].name, "");
    EXPECT_EQ(PortOrDefault(table.slots[0]), 587);
    EXPECT_EQ(table.slots[0].security, ConnectionSecurity::StartTls);

    EXPECT_TRUE(
        AddCandidate(table, {longText.c_str(), "", "r", "s", 587, ConnectionSecurity::StartTls}));
    EXPECT_EQ(table.count, 1) << "the same account again";
    for (int i = 1; i < kMaxCandidates; ++i) {
        const std::string address = "user" + std::to_string(i) + "@example.com";
        EXPECT_TRUE(AddCandidate(table, {address.c_str(), "", "", "", 0, {}}));
    }
    EXPECT_EQ(table.count, kMaxCandidates);
    EXPECT_FALSE(AddCandidate(table, {"late@example.com", "", "", "", 0, {}}));
    EXPECT_EQ(table.count, kMaxCandidates);
    EXPECT_EQ(PortOrDefault(table.slots[1]), 25) << "no port in the source";
}

// Through the window: port 25 for one account, the port unchanged from the list.
TEST(ApplyAccount, ReplacesTheSenderAndTakesTheSourcesPortOnEitherPath) {
    ProgramSettings settings{};
    settings.useMapi = 1;
    CopyField(settings.userName, "Old Name");
    CandidateTable table{};
    AddCandidate(table, {"bo@example.com", "", "r@example.com", "mail.example.com", 465, {}});
    ApplyAccountToSettings(settings, table.slots[0], PortRule::SourceOrUnchanged);
    EXPECT_STREQ(settings.userName, "");
    EXPECT_STREQ(settings.mailFrom, "bo@example.com");
    EXPECT_STREQ(settings.replyTo, "r@example.com");
    EXPECT_STREQ(settings.serverName, "mail.example.com");
    EXPECT_EQ(settings.useMapi, 0);
    EXPECT_EQ(settings.smtpPort, 465);
}

// The security a source declares replaces the setting; a source without a port gets the
// security's own; Unknown leaves both as they were.
TEST(ApplyAccount, TakesTheDeclaredSecurityAndItsDefaultPort) {
    const struct {
        ConnectionSecurity declared;
        int sourcePort;
        int security;
        int port;
    } cases[] = {
        {ConnectionSecurity::Unknown, 0, kSmtpSecurityTls, 25},
        {ConnectionSecurity::None, 0, kSmtpSecurityNone, 25},
        {ConnectionSecurity::StartTls, 0, kSmtpSecurityStartTls, 587},
        {ConnectionSecurity::Tls, 0, kSmtpSecurityTls, 465},
        {ConnectionSecurity::StartTls, 2525, kSmtpSecurityStartTls, 2525},
    };
    for (const auto& c : cases) {
        ProgramSettings settings{};
        settings.smtpSecurity = kSmtpSecurityTls;
        AccountCandidate account{};
        account.port = c.sourcePort;
        account.security = c.declared;
        ApplyAccountToSettings(settings, account, PortRule::SourceOrDefault);
        EXPECT_EQ(settings.smtpSecurity, c.security) << static_cast<int>(c.declared);
        EXPECT_EQ(settings.smtpPort, c.port) << static_cast<int>(c.declared);
    }
}

} // namespace
