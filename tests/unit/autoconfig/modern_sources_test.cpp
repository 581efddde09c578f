// Thunderbird's prefs.js parser, its identities and servers, profiles.ini, and the values
// Outlook keeps in binary registry data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "autoconfig/profiles_ini.h"
#include "autoconfig/registry_values.h"
#include "autoconfig/thunderbird_accounts.h"
#include "autoconfig/user_prefs.h"

namespace {

TEST(UserPrefs, ReadsStringsNumbersAndBooleans) {
    const PrefTable prefs = ParseUserPrefs("\xEF\xBB\xBF// Mozilla User Preferences\n"
                                           "/* a comment\n over lines */\n"
                                           "# a hash comment\n"
                                           "user_pref(\"a.text\", \"plain\");\n"
                                           "user_pref('b.single', 'it\\'s');\n"
                                           "user_pref(\"c.number\", 587);\n"
                                           "user_pref(\"d.negative\", -12);\n"
                                           "user_pref(\"e.flag\", true);\n"
                                           "user_pref(\"f.flag\", false);\n"
                                           "  user_pref ( \"g.spaced\" ,\t\"x\" ) ; \n"
                                           "user_pref(\"a.text\", \"again\");");
    EXPECT_EQ(PrefText(prefs, "a.text"), "again") << "the last value wins, no final line break";
    EXPECT_EQ(PrefText(prefs, "b.single"), "it's");
    long number = 0;
    EXPECT_TRUE(PrefNumber(prefs, "c.number", number));
    EXPECT_EQ(number, 587);
    EXPECT_TRUE(PrefNumber(prefs, "d.negative", number));
    EXPECT_EQ(number, -12);
    ASSERT_EQ(prefs.count("e.flag"), 1u);
    EXPECT_TRUE(prefs.at("e.flag").flag);
    EXPECT_EQ(prefs.at("f.flag").kind, PrefValue::Kind::Boolean);
    EXPECT_FALSE(prefs.at("f.flag").flag);
    EXPECT_EQ(PrefText(prefs, "g.spaced"), "x");
    EXPECT_EQ(PrefText(prefs, "c.number"), "") << "not a string";
    EXPECT_FALSE(PrefNumber(prefs, "a.text", number));
    EXPECT_FALSE(PrefNumber(prefs, "missing", number));
    EXPECT_EQ(prefs.size(), 7u);
}

TEST(UserPrefs, EscapesBecomeTheirCharacters) {
    struct Case {
        const char* literal;
        const char* text;
    } cases[] = {
        {R"("a\"b")", "a\"b"},
        {R"("back\\slash")", "back\\slash"},
        {R"("two\nlines\r")", "two\nlines\r"},
        {R"("\x41\xe9")", "A\xC3\xA9"},
        {R"("\u00e9\u20AC")", "\xC3\xA9\xE2\x82\xAC"},
        {R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"},
        {"\"caf\xC3\xA9\"", "caf\xC3\xA9"},
    };
    for (const Case& c : cases) {
        const std::string line = std::string("user_pref(\"k\", ") + c.literal + ");\n";
        EXPECT_EQ(PrefText(ParseUserPrefs(line), "k"), c.text) << line;
    }
}

TEST(UserPrefs, ABadStatementCostsOnlyItsOwnLine) {
    const char* bad[] = {
        R"(user_pref("k", "cut quote);)",
        R"(user_pref("k", "x"))",
        R"(user_pref("k" "x");)",
        R"(user_pref("k", maybe);)",
        R"(user_pref("k", 99999999999);)",
        R"(user_pref("k", "\q");)",
        R"(user_pref("k", "\x0");)",
        R"(user_pref("k", "\u0000");)",
        R"(user_pref("k", "\ud83d");)",
        R"(user_pref("k", "x\)",
        R"(user_pref("k)",
        R"(user_pref(k, 1);)",
        R"(set_pref("k", 1);)",
        R"(user_pref)",
        "\"",
    };
    for (const char* line : bad) {
        const PrefTable prefs =
            ParseUserPrefs(std::string(line) + "\nuser_pref(\"next\", \"ok\");\n");
        EXPECT_EQ(prefs.count("k"), 0u) << line;
        EXPECT_EQ(PrefText(prefs, "next"), "ok") << line;
    }
    long number = 0;
    EXPECT_TRUE(PrefNumber(ParseUserPrefs(R"(user_pref("k", -2147483648);)"), "k", number));
    EXPECT_EQ(number, -2147483648L);
    EXPECT_TRUE(ParseUserPrefs("/* never closed").empty());
    EXPECT_TRUE(ParseUserPrefs(std::string(100000, '(')).empty());
}

// A profile of two accounts on two servers, a third identity without a server of its own, and
// an identity without an address.
const char kTwoAccounts[] = R"(
user_pref("mail.accountmanager.accounts", "account1,account2, account3");
user_pref("mail.accountmanager.defaultaccount", "account2");
user_pref("mail.account.account1.identities", "id1");
user_pref("mail.account.account2.identities", "id2,id3");
user_pref("mail.identity.id1.fullName", "Ann Lee");
user_pref("mail.identity.id1.useremail", "ann@example.com");
user_pref("mail.identity.id1.reply_to", "replies@example.com");
user_pref("mail.identity.id1.smtpServer", "smtp1");
user_pref("mail.identity.id2.fullName", "Ann at Work");
user_pref("mail.identity.id2.useremail", "ann@work.example");
user_pref("mail.identity.id2.smtpServer", "smtp2");
user_pref("mail.identity.id3.useremail", "ann.alias@work.example");
user_pref("mail.identity.id4.fullName", "No Address");
user_pref("mail.identity.id10.useremail", "ten@example.com");
user_pref("mail.identity.id9.useremail", "nine@example.com");
user_pref("mail.identity.id9.smtpServer", "smtp9");
user_pref("mail.smtp.defaultserver", "smtp1");
user_pref("mail.smtpserver.smtp1.hostname", "smtp.example.com");
user_pref("mail.smtpserver.smtp2.hostname", "mail.work.example");
user_pref("mail.smtpserver.smtp1.port", 70000);
user_pref("mail.smtpserver.smtp2.try_ssl", 3);
user_pref("mail.smtpserver.smtp1.try_ssl", 2);
)";

TEST(ThunderbirdAccounts, EveryIdentityGetsTheServerItNamesOrTheDefault) {
    const std::vector<MailIdentity> got = ThunderbirdIdentities(ParseUserPrefs(kTwoAccounts));
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].address, "ann@work.example") << "the default account comes first";
    EXPECT_EQ(got[0].server, "mail.work.example");
    EXPECT_EQ(got[0].port, 465) << "no port: the secure default";
    EXPECT_EQ(got[0].security, ConnectionSecurity::Tls);
    EXPECT_EQ(got[1].address, "ann.alias@work.example");
    EXPECT_EQ(got[1].server, "smtp.example.com") << "no smtpServer: the default server";
    EXPECT_EQ(got[1].port, 25) << "a port out of range: the plain default";
    EXPECT_EQ(got[1].security, ConnectionSecurity::StartTls);
    EXPECT_EQ(got[2].address, "ann@example.com");
    EXPECT_EQ(got[2].replyTo, "replies@example.com");
    EXPECT_EQ(got[2].server, "smtp.example.com");
    EXPECT_EQ(got[3].address, "nine@example.com") << "unlisted identities: id9 before id10";
    EXPECT_EQ(got[3].server, "") << "a server key without a host";
    EXPECT_EQ(got[3].port, 0);
    EXPECT_EQ(got[3].security, ConnectionSecurity::Unknown);
    EXPECT_EQ(got[4].address, "ten@example.com");
}

TEST(ProfilesIni, RelativeAndAbsolutePathsDefaultFirst) {
    const std::string ini = "[General]\r\nStartWithLastProfile=1\r\n\r\n"
                            "[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                            "Path=Profiles/abcd.default\r\n\r\n"
                            "[Profile1]\r\nName=work\r\nIsRelative=0\r\n"
                            "Path=D:\\Mail\\work\\\r\nDefault=1\r\n\r\n"
                            "[Profile2]\r\nName=loose\r\nPath=Profiles/loose\r\n"
                            "[Profile3]\r\nName=nopath\r\nIsRelative=1\r\n"
                            "[Profile4]\r\nPath = E:/abs/x\r\n"
                            "[Install1234ABCD]\r\nDefault=Profiles/zz.default-release\r\n"
                            "[Profile5]\r\nIsRelative=1\r\nPath=Profiles/zz.default-release";
    const std::vector<std::string> expected = {
        "C:\\AppData\\Thunderbird\\Profiles\\zz.default-release\\",
        "D:\\Mail\\work\\",
        "C:\\AppData\\Thunderbird\\Profiles\\abcd.default\\",
        "C:\\AppData\\Thunderbird\\Profiles\\loose\\",
        "E:\\abs\\x\\",
    };
    EXPECT_EQ(ReadProfilesIni(ini, "C:\\AppData\\Thunderbird\\"), expected);
    EXPECT_TRUE(ReadProfilesIni("Path=orphan\n[General]\nPath=x\n", "C:\\").empty());
}

TEST(RegistryValues, AccountKeysCountInHexadecimal) {
    EXPECT_EQ(InternetAccountKey(31),
              "Software\\Microsoft\\Internet Account Manager\\Accounts\\0000001f");
    EXPECT_EQ(OmiAccountKey(31, 10), "Software\\Microsoft\\Office\\11.1\\Outlook\\OMI Account "
                                     "Manager\\Accounts\\0000000a");
    EXPECT_EQ(OutlookAccountsKey(16, "Outlook"), "Software\\Microsoft\\Office\\16.0\\Outlook\\"
                                                 "Profiles\\Outlook\\"
                                                 "9375CFF0413111d3B88A00104B2A6676");
}

TEST(RegistryValues, Utf16BinaryTextAndPorts) {
    struct Case {
        std::string bytes;
        const char* text;
        int port;
    } cases[] = {
        {std::string("a\0@\0b\0\0\0", 8), "a@b", 0},
        {std::string("a\0b\0", 4), "ab", 0},
        {std::string("a\0b\0c", 5), "ab", 0}, // an odd last byte
        {std::string("\xe9\0\xac\x20\0\0", 6), "\xC3\xA9\xE2\x82\xAC", 0},
        {std::string("\x3d\xd8\x00\xde", 4), "\xF0\x9F\x98\x80", 0},
        {std::string("\x3d\xd8x\0", 4), "x", 0}, // half a pair is dropped
        {std::string("2\0005\0", 4), "25", 25},
        {std::string("5\0008\0007\0\0\0", 8), "587", 587},
        {std::string("\x4b\x02\0\0", 4), "\xC9\x8B", 587},
        {std::string("\xff\xff\x01\0", 4), "\xEF\xBF\xBF\x01", 0},
        {std::string("9\0009\0009\0009\0009\0009\0", 12), "999999", 0},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(c.bytes.data());
        EXPECT_EQ(Utf16BinaryToUtf8(bytes, c.bytes.size()), c.text);
        EXPECT_EQ(PortFromBinary(bytes, c.bytes.size()), c.port) << c.text;
    }
    EXPECT_EQ(Utf16BinaryToUtf8(nullptr, 4), "");
    EXPECT_EQ(PortFromBinary(nullptr, 4), 0);
}

} // namespace
