// Kestro.ini: reading both layouts, the window rectangle check, and the exact file written.
#include <gtest/gtest.h>

#include <string>

#include "app/settings_file.h"

namespace {

constexpr ScreenSize kScreen = {1024, 768};

ProgramSettings Parse(const std::string& text, SettingsLayout* layout = nullptr) {
    ProgramSettings s{};
    SettingsLayout got = ParseSettingsText(text, s);
    if (layout) {
        *layout = got;
    }
    return s;
}

TEST(SettingsFile, WritesTheSeventeenLinesAndTheBannersThreeWithCrLf) {
    ProgramSettings s{};
    s.useMapi = 0;
    CopyField(s.userName, "Ann Lee");
    CopyField(s.mailFrom, "ann@example.com");
    CopyField(s.replyTo, "");
    CopyField(s.serverName, "smtp.example.com");
    s.smtpPort = 587;
    s.x = -3;
    s.y = 12;
    s.width = 472;
    s.height = 553;
    CopyField(s.attachDir, "C:\\Users\\ann\\");
    s.videoIndex = 2;
    s.alwaysClose = 1;
    s.alwaysSave = 0;
    s.alwaysClear = 1;
    s.alwaysAddressMapi = 0;
    CopyField(s.adLocation1, "http://127.0.0.1:8080/cgi-bin/adlocation.cgi");
    CopyField(s.adLocation2, "");
    s.adBanner = 0;
    EXPECT_EQ(FormatSettingsText(s),
              "VERSION=20\r\nUSEMAPI=0\r\nUSERNAME=Ann Lee\r\nMAILFROM=ann@example.com\r\n"
              "REPLYTO=\r\nSERVERNAME=smtp.example.com\r\nSMTPPORT=587\r\nX=-3\r\nY=12\r\n"
              "WIDTH=472\r\nHEIGHT=553\r\nATTACHDIR=C:\\Users\\ann\\\r\nVIDEOINDEX=2\r\n"
              "ALWAYS_CLOSE=1\r\nALWAYS_SAVE=0\r\nALWAYS_CLEAR=1\r\nALWAYS_ADDRESS_MAPI=0\r\n"
              "ADLOCATION1=http://127.0.0.1:8080/cgi-bin/adlocation.cgi\r\nADLOCATION2=\r\n"
              "ADBANNER=0\r\n");
}

TEST(SettingsFile, AWrittenFileIsReadBackUnchanged) {
    ProgramSettings s{};
    ApplyDefaultSettings(s, kScreen);
    CopyField(s.userName, "Bo = Baker");
    CopyField(s.attachDir, std::string(1023, 'd'));
    s.videoIndex = 9;
    ProgramSettings back{};
    SettingsLayout layout;
    back = Parse(FormatSettingsText(s), &layout);
    EXPECT_EQ(layout, SettingsLayout::Keyed);
    EXPECT_EQ(FormatSettingsText(back), FormatSettingsText(s));
}

TEST(SettingsFile, KeyedLinesFollowTheirOwnRules) {
    // Only the version line: everything stays zero, the defaults are not applied.
    ProgramSettings s = Parse("VERSION=20\n");
    EXPECT_EQ(s.useMapi, 0);
    EXPECT_EQ(s.smtpPort, 0);

    s = Parse("VERSION=20\r\nSMTPPORT=587\r\nSMTPPORT=abc\r\n");
    EXPECT_EQ(s.smtpPort, 587) << "a value without digits leaves the port unchanged";
    s = Parse("VERSION=20\nSMTPPORT=25x9\nX=-40\nY=+7\n");
    EXPECT_EQ(s.smtpPort, 25);
    EXPECT_EQ(s.x, -40);
    EXPECT_EQ(s.y, 7);
    s = Parse("VERSION=20\nsmtpport=99\nUSERNAME=first\nUSERNAME=second\n");
    EXPECT_EQ(s.smtpPort, 0) << "keys are case-sensitive";
    EXPECT_STREQ(s.userName, "second") << "a later line overrides";
    s = Parse("VERSION=1\nSERVERNAME=mail.example.com");
    EXPECT_STREQ(s.serverName, "mail.example.com") << "a last line without a line end";
    // Values beyond int are held at its limits; the limits themselves are read as they are.
    const struct {
        const char* line;
        int x;
    } limits[] = {{"X=99999999999", 2147483647},
                  {"X=-99999999999", -2147483647 - 1},
                  {"X=-2147483647", -2147483647},
                  {"X=-2147483648", -2147483647 - 1},
                  {"X=2147483648", 2147483647}};
    for (const auto& c : limits) {
        EXPECT_EQ(Parse(std::string("VERSION=20\n") + c.line + "\n").x, c.x) << c.line;
    }
    s = Parse("VERSION=20\nUSERNAME=" + std::string(300, 'n') + "\n");
    EXPECT_EQ(std::string(s.userName), std::string(255, 'n'));
    s = Parse("version=20\nUSERNAME=x\n");
    EXPECT_STREQ(s.userName, "version=20") << "without its version line the file is older";
}

TEST(SettingsFile, ReadsTheOlderLayoutByPosition) {
    SettingsLayout layout;
    ProgramSettings s =
        Parse("Ann\r\nann@example.com\r\nreply@example.com\r\nsmtp.example.com\r\n10\r\n20\r\n"
              "500\r\n600\r\nC:\\att\\\r\n4\r\n",
              &layout);
    EXPECT_EQ(layout, SettingsLayout::Older);
    EXPECT_STREQ(s.userName, "Ann");
    EXPECT_STREQ(s.mailFrom, "ann@example.com");
    EXPECT_STREQ(s.replyTo, "reply@example.com");
    EXPECT_STREQ(s.serverName, "smtp.example.com");
    EXPECT_EQ(s.x, 10);
    EXPECT_EQ(s.y, 20);
    EXPECT_EQ(s.width, 500);
    EXPECT_EQ(s.height, 600);
    EXPECT_STREQ(s.attachDir, "C:\\att\\");
    EXPECT_EQ(s.videoIndex, 4);
    EXPECT_EQ(s.useMapi, 0);
    EXPECT_EQ(s.smtpPort, 25);

    // Reading stops early at the end of the file; numbers without digits are 0.
    s = Parse("Bo\nbo@example.com\n\nhost\nleft\n");
    EXPECT_STREQ(s.serverName, "host");
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.smtpPort, 25);
}

TEST(SettingsFile, DefaultsDependOnTheScreen) {
    ProgramSettings s{};
    ApplyDefaultSettings(s, {640, 480});
    EXPECT_EQ(s.x, 100);
    EXPECT_EQ(s.y, 100);
    EXPECT_EQ(s.width, 400);
    EXPECT_EQ(s.height, 420);
    EXPECT_EQ(s.useMapi, 1);
    EXPECT_EQ(s.smtpPort, 25);
    EXPECT_EQ(s.adBanner, 1);
    EXPECT_STREQ(s.adLocation1, "http://www.kestro.example/cgi-bin/adlocation.cgi");
    EXPECT_STREQ(s.adLocation2, s.adLocation1);
    ApplyDefaultSettings(s, {1280, 1024});
    EXPECT_EQ(s.x, 1280 / 3);
    EXPECT_EQ(s.y, 256);
    EXPECT_EQ(s.width, 472);
    EXPECT_EQ(s.height, 553);
}

TEST(SettingsFile, AWindowOffTheScreenIsPutBack) {
    ProgramSettings s{};
    s.x = 10;
    s.y = 10;
    s.width = 49;
    s.height = 500;
    FitWindowToScreen(s, kScreen);
    EXPECT_EQ(s.width, 472);
    EXPECT_EQ(s.height, 553);
    EXPECT_EQ(s.x, 10);

    s = ProgramSettings{};
    s.x = -1;
    s.y = 5;
    s.width = 300;
    s.height = 769;
    FitWindowToScreen(s, {640, 480});
    EXPECT_EQ(s.width, 400);
    EXPECT_EQ(s.height, 480);
    EXPECT_EQ(s.x, 160);
    EXPECT_EQ(s.y, 120);

    s.x = 1024;
    s.y = 768;
    s.width = 1024;
    s.height = 768;
    FitWindowToScreen(s, kScreen);
    EXPECT_EQ(s.x, 1024) << "the screen's own edge still counts as on the screen";
    EXPECT_EQ(s.width, 1024);
}

} // namespace
