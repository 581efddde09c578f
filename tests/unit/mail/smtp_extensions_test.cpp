// The extensions of an EHLO reply, the login lines built from a user name and password, and
// the account seams that carry a login and a declared security into the settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/smtp_account.h"
#include "mail/smtp_auth.h"
#include "mail/smtp_extensions.h"
#include "mail/smtp_reply.h"

namespace {

// Feeds a whole reply through the reply reader in pieces of `piece` bytes, as the session does.
SmtpExtensions Read(const std::string& reply, size_t piece = 1) {
    SmtpExtensions extensions;
    ClearSmtpExtensions(extensions);
    SmtpReplyReader reader;
    StartSmtpReply(reader);
    for (size_t at = 0; at < reply.size() && !reader.complete;) {
        const size_t rest = reply.size() - at;
        at += FeedSmtpReply(reader, reply.data() + at, rest < piece ? rest : piece);
        if (reader.lineEnded) {
            ReadEhloLine(extensions, reader.line, reader.lineKept, reader.lineNumber);
        }
    }
    EXPECT_TRUE(reader.complete) << reply;
    return extensions;
}

TEST(EhloReply, ExtensionsAreReadFromEveryLineButTheFirst) {
    struct Case {
        std::string reply;
        int startTls, authOffered, authPlain, authLogin;
        uint64_t sizeLimit;
    };
    const Case cases[] = {
        {"250-mail.example.org Hello\r\n250-PIPELINING\r\n250-SIZE 35882577\r\n250-STARTTLS\r\n"
         "250-AUTH LOGIN PLAIN XOAUTH2\r\n250 HELP\r\n",
         1, 1, 1, 1, 35882577},
        {"250-STARTTLS\r\n250 8BITMIME\r\n", 0, 0, 0, 0, 0}, // a server named STARTTLS
        {"250-x\r\n250-auth=login\r\n250 starttls \r\n", 1, 1, 0, 1, 0},
        {"250-x\r\n250-AUTH CRAM-MD5 PLAINX\r\n250 STARTTLSX\r\n", 0, 1, 0, 0, 0},
        {"250-x\r\n250 SIZE\r\n", 0, 0, 0, 0, 0},
        {"250-x\r\n250 SIZE 12x\r\n", 0, 0, 0, 0, 0},
        {"250-x\r\n250 SIZE 99999999999999999999999\r\n", 0, 0, 0, 0, UINT64_MAX},
        {"250-x\r\n250-" + std::string(600, 'A') + "\r\n250 AUTH PLAIN\n", 0, 1, 1, 0, 0},
        {"250 mail.example.org\r\n", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        for (size_t piece : {size_t{1}, size_t{7}, c.reply.size()}) {
            const SmtpExtensions e = Read(c.reply, piece);
            EXPECT_EQ(e.startTls, c.startTls) << c.reply;
            EXPECT_EQ(e.authOffered, c.authOffered) << c.reply;
            EXPECT_EQ(e.authPlain, c.authPlain) << c.reply;
            EXPECT_EQ(e.authLogin, c.authLogin) << c.reply;
            EXPECT_EQ(e.sizeLimit, c.sizeLimit) << c.reply;
        }
    }
}

TEST(EhloReply, PlainIsPreferredToLogin) {
    EXPECT_EQ(ChooseAuthMechanism(Read("250-x\r\n250 AUTH LOGIN PLAIN\r\n")),
              SmtpAuthMechanism::Plain);
    EXPECT_EQ(ChooseAuthMechanism(Read("250-x\r\n250 AUTH LOGIN\r\n")), SmtpAuthMechanism::Login);
    EXPECT_EQ(ChooseAuthMechanism(Read("250-x\r\n250 AUTH GSSAPI\r\n")), SmtpAuthMechanism::None);
}

TEST(AuthLines, PlainIsOneBase64LineAndLoginTwo) {
    char line[1024];
    ASSERT_EQ(BuildAuthPlainLine("ann", "s3cret", line, sizeof line), 29u);
    EXPECT_STREQ(line, "AUTH PLAIN AGFubgBzM2NyZXQ=\r\n"); // NUL ann NUL s3cret
    ASSERT_EQ(BuildAuthPlainLine("ann@example.org", "pass word!", line, sizeof line), 49u);
    EXPECT_STREQ(line, "AUTH PLAIN AGFubkBleGFtcGxlLm9yZwBwYXNzIHdvcmQh\r\n");
    EXPECT_EQ(BuildAuthLoginLine(line, sizeof line), 12u);
    EXPECT_STREQ(line, "AUTH LOGIN\r\n");
    EXPECT_EQ(BuildAuthLoginStep("ann", line, sizeof line), 6u);
    EXPECT_STREQ(line, "YW5u\r\n");
    EXPECT_EQ(BuildAuthLoginStep("s3cret", line, sizeof line), 10u);
    EXPECT_STREQ(line, "czNjcmV0\r\n");
    EXPECT_EQ(BuildAuthLoginStep("", line, sizeof line), 2u);
    EXPECT_STREQ(line, "\r\n");

    // The longest user name and password fit the session's command buffer.
    const std::string longest(255, 'p');
    EXPECT_EQ(BuildAuthPlainLine(longest.c_str(), longest.c_str(), line, sizeof line),
              11u + 684u + 2u);
    EXPECT_EQ(BuildAuthPlainLine((longest + "p").c_str(), "x", line, sizeof line), 0u);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(BuildAuthLoginStep((longest + "p").c_str(), line, sizeof line), 0u);
    EXPECT_EQ(BuildAuthPlainLine("ann", "s3cret", line, 29), 0u) << "no room for the terminator";
    EXPECT_STREQ(line, "");
    EXPECT_EQ(BuildAuthLoginLine(line, 12), 0u);
}

TEST(SmtpAccount, ALoginAndADeclaredSecurityReachTheSettings) {
    ProgramSettings settings = {};
    settings.smtpPort = 2525;
    SmtpLogin login = {kSmtpSecurityTls, "ann", "0102A0"};
    ApplySmtpLogin(settings, login);
    EXPECT_EQ(settings.smtpSecurity, kSmtpSecurityTls);
    EXPECT_STREQ(settings.smtpUser, "ann");
    EXPECT_STREQ(settings.smtpPassword, "0102A0");
    EXPECT_EQ(settings.smtpPort, 2525) << "an account keeps its own port";
    SmtpLogin back = {};
    TakeSmtpLogin(settings, back);
    EXPECT_EQ(back.security, kSmtpSecurityTls);
    EXPECT_STREQ(back.protectedPassword, "0102A0");

    ApplyDeclaredSmtpSecurity(settings, kSmtpSecurityStartTls, false);
    EXPECT_EQ(settings.smtpPort, 587) << "no port declared: the security's own";
    ApplyDeclaredSmtpSecurity(settings, kSmtpSecurityTls, true);
    EXPECT_EQ(settings.smtpPort, 587);
    EXPECT_EQ(settings.smtpSecurity, kSmtpSecurityTls);
    ApplyDeclaredSmtpSecurity(settings, 9, false);
    EXPECT_EQ(settings.smtpSecurity, kSmtpSecurityNone);
    EXPECT_EQ(settings.smtpPort, 25);
}

} // namespace
