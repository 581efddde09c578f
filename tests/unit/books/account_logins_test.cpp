// The accounts' logins beside the account book: recorded under the address and server they
// were used with, and given back when an account is chosen.
#include <gtest/gtest.h>

#include <string>

#include "books/account_logins.h"
#include "mail/smtp_account.h"

namespace {

ProgramSettings Identity(const char* address, const char* server, int port, int security,
                         const char* user, const char* password) {
    ProgramSettings settings = {};
    CopyField(settings.mailFrom, sizeof settings.mailFrom, address);
    CopyField(settings.serverName, sizeof settings.serverName, server);
    settings.smtpPort = port;
    settings.smtpSecurity = security;
    CopyField(settings.smtpUser, sizeof settings.smtpUser, user);
    CopyField(settings.smtpPassword, sizeof settings.smtpPassword, password);
    return settings;
}

TEST(AccountLogins, EachAccountGetsBackItsOwnLogin) {
    std::string file = RecordAccountLogin(
        "", Identity("ann@example.org", "smtp.example.org", 587, 1, "ann", "01AB"));
    EXPECT_EQ(file, "ann@example.org\tsmtp.example.org\t587\t1\tann\t01AB\r\n");
    file = RecordAccountLogin(file,
                              Identity("bo@example.net", "mail.example.net", 465, 2, "bo", "FFEE"));
    // The same account again replaces its line; the other stays.
    file = RecordAccountLogin(
        file, Identity("ann@example.org", "smtp.example.org", 587, 1, "ann.lee", "0102"));
    EXPECT_EQ(file, "bo@example.net\tmail.example.net\t465\t2\tbo\tFFEE\r\n"
                    "ann@example.org\tsmtp.example.org\t587\t1\tann.lee\t0102\r\n");

    ProgramSettings settings = Identity("x@y", "z", 25, 0, "", "");
    EXPECT_TRUE(ApplyAccountLogin(file, "bo@example.net", "mail.example.net", settings));
    EXPECT_EQ(settings.smtpPort, 465);
    EXPECT_EQ(settings.smtpSecurity, kSmtpSecurityTls);
    EXPECT_STREQ(settings.smtpUser, "bo");
    EXPECT_STREQ(settings.smtpPassword, "FFEE");

    // An account with no login recorded (or on another server) sends with none, on its port.
    EXPECT_FALSE(ApplyAccountLogin(file, "bo@example.net", "smtp.example.org", settings));
    EXPECT_EQ(settings.smtpPort, 465);
    EXPECT_EQ(settings.smtpSecurity, kSmtpSecurityNone);
    EXPECT_STREQ(settings.smtpUser, "");
    EXPECT_STREQ(settings.smtpPassword, "");
}

TEST(AccountLogins, WhatCannotBeKeyedOrReadIsLeftAlone) {
    const std::string file = "ann@example.org\tsmtp.example.org\t587\t1\tann\t01AB\r\n";
    for (const ProgramSettings& unkeyed :
         {Identity("", "smtp.example.org", 25, 1, "u", "00"), Identity("a@b", "", 25, 1, "u", "00"),
          Identity("a\tb@c", "s", 25, 1, "u", "00"), Identity("a@b", "s", 25, 1, "u\r\n", "00")}) {
        EXPECT_EQ(RecordAccountLogin(file, unkeyed), file);
    }
    // Short lines, an unknown security and a port out of range.
    ProgramSettings settings = Identity("a@b", "s", 2525, 0, "", "");
    const std::string odd = "a@b\ts\t587\n"
                            "a@b\ts\t99999\t7\tann\t0A\n";
    EXPECT_TRUE(ApplyAccountLogin(odd, "a@b", "s", settings));
    EXPECT_EQ(settings.smtpPort, 2525);
    EXPECT_EQ(settings.smtpSecurity, kSmtpSecurityNone);
    EXPECT_STREQ(settings.smtpUser, "ann");
}

} // namespace
