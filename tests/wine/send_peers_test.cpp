// Sending to SMTP servers that behave in ways the local test server does not: a scripted peer
// inside the test process (support/scripted_smtp_peer.h) answers each command from a script,
// cuts its replies into single bytes, or holds one reply back until the test lets it go.
// These tests need no outside server.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "compose/win/current_message.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/scripted_smtp_peer.h"
#include "support/send_fixture.h"

namespace {

constexpr int kSessionTimeout = 30000;
constexpr DWORD kPeerTimeout = 10000;

class SendingToScriptedPeer : public Sending {
  protected:
    // Starts the peer and sends to its port; false when it could not listen.
    bool UsePeer(ScriptedSmtpPeer& peer) {
        programSettings.smtpPort = peer.Start() ? peer.Port() : 1;
        return peer.Port() > 0;
    }

    // Arranges for the Message Sent dialog to be counted and dismissed with Cancel.
    void CountMessageSentDialogs() {
        WhenDialogAppears([this](HWND dialog) {
            ++messageSentDialogs_;
            EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_MS_TEXT)), "Message Sent Successfully !");
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    }

    // Presses Send and processes messages until the session is idle again and, when one is
    // expected, the Message Sent dialog has come and gone. `each` runs after every message.
    void SendUntilIdle(bool expectDialog, const std::function<void(const MSG&)>& each = nullptr) {
        CountMessageSentDialogs();
        Command(window_, IDC_SEND_BUTTON);
        EXPECT_TRUE(
            PumpUntil([&] { return sendState == 0 && (messageSentDialogs_ > 0 || !expectDialog); },
                      kSessionTimeout, each))
            << "the send did not end; state " << std::hex << sendState;
        FinishSession();
    }

    // Lets late notifications of the closed connection arrive, then drops the dialog action.
    void FinishSession() {
        PumpMessagesFor(300);
        ForgetDialogAction();
    }

    int messageSentDialogs_ = 0;
};

// The first `count` commands of a session that sends to bob@example.net (the HELO line as
// received: it names the local host).
std::vector<std::string> CommandsToBob(const std::vector<std::string>& received, size_t count) {
    std::vector<std::string> commands = {received.empty() ? "" : received[0],
                                         "MAIL FROM: <ann@example.org>",
                                         "RCPT TO: <bob@example.net>", "DATA", "QUIT"};
    commands.resize(count);
    return commands;
}

TEST_F(SendingToScriptedPeer, RepliesCutIntoSingleBytesAndMultiLineRepliesAreRead) {
    ScriptedSmtpPeer::Script script;
    script.writeSize = 1;
    script.pauseAfterWrite = 1;
    script.greeting = "220-peer.test ESMTP\r\n220-no unsolicited mail\r\n220 ready\r\n";
    script.replies["HELO"] = "250-peer.test\r\n250-PIPELINING\r\n250-SIZE 10240000\r\n250 HELP\r\n";
    script.replies["RCPT"] = "250-2.1.5 recipient\r\n250 2.1.5 OK\r\n";
    script.replies["END"] = "250-2.0.0 queued\r\n250 2.0.0 as 4F2A\r\n";
    ScriptedSmtpPeer peer(script);
    ASSERT_TRUE(UsePeer(peer));
    Address("bob@example.net; cy@example.com", "Cut replies");
    SetWindowTextA(composeWindows.bodyEditor, "First line\r\n.\r\n.x\r\nLast");

    SendUntilIdle(true);

    EXPECT_EQ(messageSentDialogs_, 1);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    ASSERT_TRUE(peer.WaitForEnd(kPeerTimeout));
    EXPECT_TRUE(peer.ClosedByClient());
    const std::vector<std::string>& commands = peer.Commands();
    ASSERT_EQ(commands.size(), 6u);
    EXPECT_EQ(commands[0].substr(0, 5), "HELO ");
    EXPECT_EQ(commands, (std::vector<std::string>{commands[0], "MAIL FROM: <ann@example.org>",
                                                  "RCPT TO: <bob@example.net>",
                                                  "RCPT TO: <cy@example.com>", "DATA", "QUIT"}));
    ASSERT_TRUE(peer.EndOfDataSeen());
    const std::string opening = "\r\n--" + kMain +
                                "\r\nContent-Type: text/plain\r\n"
                                "Content-Transfer-Encoding: 7bit\r\n\r\n";
    EXPECT_EQ(PartContent(peer.Data(), opening), "First line\r\n.\r\n.x\r\nLast\r\n");
    EXPECT_NE(peer.Data().find("\r\nSubject: Cut replies\r\n"), std::string::npos);
    ASSERT_GT(peer.Data().size(), kMain.size() + 10);
    EXPECT_EQ(peer.Data().substr(peer.Data().size() - kMain.size() - 10),
              "\r\n--" + kMain + "--\r\n\r\n");
}

TEST_F(SendingToScriptedPeer, ARecipientAnsweredWith251EndsTheSessionWithThatReplyShown) {
    ScriptedSmtpPeer::Script script;
    script.replies["RCPT"] = "251 2.1.5 User not local; will forward to <bob@example.com>\r\n";
    ScriptedSmtpPeer peer(script);
    ASSERT_TRUE(UsePeer(peer));
    Address("bob@example.net", "Forwarded");
    MessageBoxes::Plan(IDOK);

    SendUntilIdle(false);

    EXPECT_EQ(messageSentDialogs_, 0);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text,
              "251 2.1.5 User not local; will forward to <bob@example.com>\r\n");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "SMTP error");
    EXPECT_EQ(MessageBoxes::Calls()[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(sendState, 0u);
    EXPECT_EQ(alreadySent, 0);
    ASSERT_TRUE(peer.WaitForEnd(kPeerTimeout));
    EXPECT_TRUE(peer.ClosedByClient());
    EXPECT_EQ(peer.Commands(), CommandsToBob(peer.Commands(), 3)); // nothing after RCPT TO
}

TEST_F(SendingToScriptedPeer, CancelInTheHeaderBlockEndsTheSessionWithoutTheDialog) {
    ScriptedSmtpPeer peer({});
    ASSERT_TRUE(UsePeer(peer));
    Address("bob@example.net", "Never sent");
    bool cancelled = false;
    // Cancel is pressed as soon as the session has entered the header block.
    SendUntilIdle(false, [&](const MSG&) {
        if (!cancelled && sendState == SMTP_HEADERS) {
            cancelled = true;
            Command(window_, IDC_CANCEL_BUTTON);
            EXPECT_EQ(sendState, 0u);
        }
    });

    ASSERT_TRUE(cancelled) << "the session never reached the header block";
    EXPECT_EQ(messageSentDialogs_, 0);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_EQ(StatusText(0), "Canceled Send");
    EXPECT_EQ(outgoingMessage.cancelRequested, 1);
    ASSERT_TRUE(peer.WaitForEnd(kPeerTimeout));
    EXPECT_TRUE(peer.ClosedByClient());
    EXPECT_EQ(peer.Commands(), CommandsToBob(peer.Commands(), 4)); // up to DATA
    EXPECT_FALSE(peer.EndOfDataSeen());
    EXPECT_EQ(peer.Data(), ""); // not a byte of the header block

    // The session is idle again: the next send goes all the way.
    ScriptedSmtpPeer next({});
    ASSERT_TRUE(UsePeer(next));
    SendUntilIdle(true);
    EXPECT_EQ(messageSentDialogs_, 1);
    ASSERT_TRUE(next.WaitForEnd(kPeerTimeout));
    EXPECT_TRUE(next.EndOfDataSeen());
    EXPECT_NE(next.Data().find("\r\nSubject: Never sent\r\n"), std::string::npos);
}

TEST_F(SendingToScriptedPeer, CancelAfterTheEndOfDataMarkIsIgnoredAndTheSendCompletes) {
    ScriptedSmtpPeer::Script script;
    script.holdReplyTo = "END";
    ScriptedSmtpPeer peer(script);
    ASSERT_TRUE(UsePeer(peer));
    Address("bob@example.net", "Too late to cancel");
    CountMessageSentDialogs();
    Command(window_, IDC_SEND_BUTTON);
    // The mark has gone out whole and the server has not answered yet.
    ASSERT_TRUE(
        PumpUntil([] { return sendState == SMTP_END_DATA && smtpSession.awaitingReply != 0; },
                  kSessionTimeout))
        << std::hex << sendState;
    const std::string status = StatusText(0);

    Command(window_, IDC_CANCEL_BUTTON);

    EXPECT_EQ(sendState, SMTP_END_DATA);
    EXPECT_EQ(outgoingMessage.cancelRequested, 0);
    EXPECT_EQ(StatusText(0), status);
    peer.Release();
    EXPECT_TRUE(
        PumpUntil([&] { return sendState == 0 && messageSentDialogs_ > 0; }, kSessionTimeout));
    FinishSession();
    EXPECT_EQ(messageSentDialogs_, 1);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    ASSERT_TRUE(peer.WaitForEnd(kPeerTimeout));
    EXPECT_EQ(peer.Commands(), CommandsToBob(peer.Commands(), 5));
    EXPECT_TRUE(peer.EndOfDataSeen());
    EXPECT_NE(peer.Data().find("\r\nSubject: Too late to cancel\r\n"), std::string::npos);
}

} // namespace
