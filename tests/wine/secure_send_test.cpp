// Sending through local servers that secure the connection and ask for a login, with Kestro's
// real session over Winsock and the system's TLS (Schannel): STARTTLS, TLS from the first byte,
// the certificate checks, AUTH and SIZE. What reached each server is checked on its side too.
//
// scripts/test.sh starts the servers (scripts/smtp-tls-peers.sh, which also makes the test
// CA and the certificates) beside the plain one of send_test.cpp. By hand:
//   source scripts/smtp-tls-peers.sh && kestro_start_tls_peers /tmp/kestro-tls /tmp/tls.log 3600
//   /usr/bin/python3 scripts/smtp-sink.py 2525 /tmp/kestro-sink &
//   export KESTRO_SMTP_PORT=2525 KESTRO_SMTP_SINK='Z:\tmp\kestro-sink'
// then, in the build's bin folder:
//   ../../../scripts/wine-run.sh kestro_wine_tests.exe --gtest_filter='SecureSending.*'
// The test CA is added to the trusted roots of the test prefix's user, nowhere else.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/current_message.h"
#include "compose/win/attachments.h"
#include "mail/win/protected_password.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/send_fixture.h"

namespace {

// The port of each server, from the folder's "ports" file.
std::map<std::string, int> PeerPorts() {
    std::map<std::string, int> ports;
    std::istringstream lines(ReadWholeFile(TlsPeersFolder() + "ports"));
    std::string name;
    int port = 0;
    while (lines >> name >> port) {
        ports[name] = port;
    }
    return ports;
}

// The names of the files in a folder that end in .msg.
std::set<std::string> Messages(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*.msg").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            names.insert(entry.cFileName);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    return names;
}

// A message's bytes after DATA, with the two header lines that differ from one send to the
// next (Date and Message-ID) blanked.
std::string WithoutDateAndId(const std::string& data) {
    static const std::regex varying("\r\n(Date|Message-ID): [^\r]*");
    return std::regex_replace(data, varying, "\r\n$1: -");
}

struct Outcome {
    std::string data;                  // the message the server stored, after DATA
    std::vector<std::string> commands; // the verbs the server received
};

class SecureSending : public Sending {
  protected:
    void SetUp() override {
        if (TlsPeersFolder().empty()) {
            GTEST_SKIP() << "no TLS servers: see the comment at the top of secure_send_test.cpp";
        }
        static const bool trusted = TrustTestCa();
        ASSERT_TRUE(trusted) << "the test CA could not be trusted";
        ports_ = PeerPorts();
        ASSERT_EQ(ports_.size(), 5u);
        Sending::SetUp();
    }

    // Points the settings at a server with a security and a login (no user: no login).
    void Use(const std::string& peer, const char* serverName, int security, const char* user,
             const char* password) {
        CopyField(programSettings.serverName, serverName);
        programSettings.smtpPort = ports_[peer];
        programSettings.smtpSecurity = security;
        CopyField(programSettings.smtpUser, user);
        ASSERT_TRUE(ProtectPassword(password, programSettings.smtpPassword,
                                    sizeof programSettings.smtpPassword));
    }

    // Sends to a server of the set and waits until the session is over and, when one is
    // expected, the server has stored the message.
    Outcome SendTo(const std::string& peer, bool expectMessage) {
        const std::string folder = TlsPeersFolder() + peer + "\\";
        const std::string log = TlsPeersFolder() + peer + ".commands";
        DeleteFileA(log.c_str());
        const std::set<std::string> before = Messages(folder);
        alreadySent = 0;
        bool dialogShown = false;
        WhenDialogAppears([&](HWND dialog) {
            dialogShown = true;
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        Command(window_, IDC_SEND_BUTTON);
        std::string stored;
        const bool ended = PumpUntil(
            [&] {
                for (const std::string& name : Messages(folder)) {
                    if (before.count(name) == 0) {
                        stored = name;
                    }
                }
                return sendState == 0 && dialogShown == expectMessage &&
                       stored.empty() != expectMessage;
            },
            expectMessage ? 30000 : 10000);
        EXPECT_TRUE(ended) << peer << ": the send did not end; state " << std::hex << sendState
                           << " dialog " << dialogShown << " stored " << stored;
        ForgetDialogAction();
        PumpMessagesFor(200); // the server writes QUIT after the client has gone on
        Outcome outcome;
        if (!stored.empty()) {
            const std::string file = ReadWholeFile(folder + stored);
            outcome.data = file.substr(file.find("\r\n\r\n") + 4);
        }
        std::istringstream verbs(ReadWholeFile(log));
        for (std::string verb; std::getline(verbs, verb);) {
            outcome.commands.push_back(verb);
        }
        return outcome;
    }

    std::map<std::string, int> ports_;
};

using Verbs = std::vector<std::string>;

// A voice message with its recording attached goes out over plain TCP, over STARTTLS with a
// login and over TLS from the first byte; all three servers get the same bytes.
TEST_F(SecureSending, TheVoiceMailArrivesTheSameOverEveryConnection) {
    REQUIRE_SINK();
    Address("bob@example.net", "A voice message");
    ASSERT_EQ(AddAttachment(WriteFile("Voice message.wav", Bytes(150000, 7)).c_str()), 1);
    const Delivered plain = Send([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDOK, 0); });
    ASSERT_FALSE(plain.data.empty());

    struct Case {
        const char* peer;
        int security;
        Verbs commands;
    };
    const Case cases[] = {
        {"starttls",
         kSmtpSecurityStartTls,
         {"EHLO", "STARTTLS", "EHLO", "AUTH", "MAIL", "RCPT", "DATA", "QUIT"}},
        {"tls", kSmtpSecurityTls, {"EHLO", "AUTH", "MAIL", "RCPT", "DATA", "QUIT"}},
    };
    for (const Case& c : cases) {
        Use(c.peer, "localhost", c.security, kTestSmtpUser, kTestSmtpPassword);
        const Outcome secure = SendTo(c.peer, true);
        EXPECT_EQ(WithoutDateAndId(secure.data), WithoutDateAndId(plain.data)) << c.peer;
        EXPECT_EQ(secure.commands, c.commands) << c.peer;
        EXPECT_TRUE(MessageBoxes::Calls().empty()) << MessageBoxes::Calls()[0].text;
    }
}

// Every refusal ends the send with a message that says why, and the server sees nothing it
// should not: no MAIL FROM, and no login where the connection could not be trusted.
TEST_F(SecureSending, RefusalsSayWhyAndStopBeforeTheMessage) {
    struct Case {
        const char* name;
        const char* peer;
        const char* server;
        int security;
        const char* password;
        size_t attachmentSize;
        std::string text; // a part of the message shown
        std::string caption;
        Verbs commands;
    };
    const Case cases[] = {
        {"STARTTLS not offered",
         "plain",
         "localhost",
         kSmtpSecurityStartTls,
         kTestSmtpPassword,
         0,
         "does not offer STARTTLS",
         "Secure connection",
         {"EHLO", "QUIT"}},
        {"untrusted certificate",
         "untrusted",
         "localhost",
         kSmtpSecurityStartTls,
         kTestSmtpPassword,
         0,
         "is not trusted",
         "Secure connection",
         {"EHLO", "STARTTLS"}},
        {"certificate for another name",
         "starttls",
         "127.0.0.1",
         kSmtpSecurityStartTls,
         kTestSmtpPassword,
         0,
         "for another host name",
         "Secure connection",
         {"EHLO", "STARTTLS"}},
        {"wrong password",
         "starttls",
         "localhost",
         kSmtpSecurityStartTls,
         "guess",
         0,
         "535 5.7.8 Authentication credentials invalid",
         "SMTP login",
         {"EHLO", "STARTTLS", "EHLO", "AUTH"}},
        {"larger than SIZE",
         "plain",
         "localhost",
         kSmtpSecurityNone,
         kTestSmtpPassword,
         3000,
         "takes messages of at most",
         "Message too large",
         {"EHLO", "QUIT"}},
        {"EHLO refused, STARTTLS needed",
         "ehlo502",
         "localhost",
         kSmtpSecurityStartTls,
         kTestSmtpPassword,
         0,
         "does not offer STARTTLS",
         "Secure connection",
         {"EHLO", "HELO", "QUIT"}},
    };
    Address("bob@example.net", "Refused");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxes::Reset();
        ClearAttachments();
        if (c.attachmentSize > 0) {
            ASSERT_EQ(AddAttachment(WriteFile("large.bin", Bytes(c.attachmentSize, 3)).c_str()), 1);
        }
        Use(c.peer, c.server, c.security, kTestSmtpUser, c.password);
        const Outcome outcome = SendTo(c.peer, false);
        EXPECT_TRUE(outcome.data.empty());
        EXPECT_EQ(outcome.commands, c.commands);
        ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
        EXPECT_NE(MessageBoxes::Calls()[0].text.find(c.text), std::string::npos)
            << MessageBoxes::Calls()[0].text;
        EXPECT_EQ(MessageBoxes::Calls()[0].caption, c.caption);
        EXPECT_EQ(MessageBoxes::Calls()[0].text.find(kTestSmtpPassword), std::string::npos);
    }
}

// Settings that need neither TLS nor a login keep the session of old: a server that refuses
// EHLO never sees it and takes the message after HELO.
TEST_F(SecureSending, AServerThatRefusesEhloGetsHeloAndTheMessage) {
    Address("bob@example.net", "Plain");
    Use("ehlo502", "localhost", kSmtpSecurityNone, "", "");
    const Outcome outcome = SendTo("ehlo502", true);
    EXPECT_NE(outcome.data.find("Subject: Plain\r\n"), std::string::npos);
    EXPECT_EQ(outcome.commands, (Verbs{"HELO", "MAIL", "RCPT", "DATA", "QUIT"}));
}

} // namespace
