#include "mail/smtp_session.h"

#include "base/program_settings.h"
#include "mail/body_parts.h"
#include "mail/outgoing_message.h"

#include "support/mail_decoding.h"
#include "support/test_bytes.h"

#include <gtest/gtest.h>

#include "support/message_ptr.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kMain = "kestr1_140899_BounDAry_9903";
using Box = std::pair<std::string, std::string>; // message text, caption

// A scripted SMTP server behind a socket that can be made to block or fail at any byte, and the
// main window the session reports to.
struct FakeServer : SmtpPlatform {
    SmtpSession* session = nullptr;
    // The socket.
    std::string delivered;
    std::set<size_t> blockAt; // a send that starts at one of these offsets would block, once
    size_t maxPerSend = 1 << 30;
    size_t failAt = std::string::npos; // a send that reaches this offset fails
    bool receiveFails = false;
    bool blocked = false; // the socket reports writable again later
    int blockCount = 0;
    // The server: a reply per command word ("END" for the end-of-data mark).
    std::map<std::string, std::string> replies = {
        {"DATA", "354 go ahead\r\n"}, {"END", "250 queued\r\n"}, {"QUIT", "221 bye\r\n"}};
    std::string greeting = "220 mail.example.org ready\r\n";
    std::string closeAfter = "QUIT"; // answer this command, then close the connection
    std::string pendingReply;
    size_t readSize = 1024;
    bool closing = false;
    bool inData = false;
    size_t parsed = 0;
    std::vector<std::string> commands;
    std::string data; // between the DATA reply and the end-of-data mark, inclusive
    // The main window.
    int posted = 0;
    int closeCalls = 0;
    int messageSentShown = 0;
    std::vector<std::string> statusTexts;
    std::vector<Box> boxes;
    std::vector<std::pair<uint32_t, int>> paints; // state, percent
    // TLS, played by the platform: the handshake takes a few notifications, during which the
    // socket carries no plain bytes either way.
    bool handshaking = false;
    int handshakeSteps = 0;
    TlsStep handshakeEnd = TlsStep::Done;
    std::vector<size_t> tlsStarts; // where in `delivered` each handshake began
    bool sentDuringHandshake = false;
    bool passwordReadable = true;
    int loginLines = 0; // lines of AUTH LOGIN still to come: the user name, then the password

    void Answer(const std::string& word) {
        if (closing || closeAfter.empty()) {
            return; // the connection is going down
        }
        // After a handshake the server no longer offers STARTTLS.
        const bool secured = word == "EHLO" && !tlsStarts.empty() && replies.count("EHLO+TLS");
        const auto found = replies.find(secured ? "EHLO+TLS" : word);
        const std::string reply = found != replies.end() ? found->second : "250 ok\r\n";
        pendingReply += reply;
        inData = word == "DATA" && reply.compare(0, 3, "354") == 0;
        if (word == closeAfter) {
            closing = true;
        }
    }
    void ServerReads() {
        for (size_t end;;) {
            if (inData) {
                if ((end = delivered.find("\r\n.\r\n", parsed)) == std::string::npos) {
                    return;
                }
                data = delivered.substr(parsed, end + 5 - parsed);
                parsed = end + 5;
                Answer("END");
            } else {
                if ((end = delivered.find("\r\n", parsed)) == std::string::npos) {
                    return;
                }
                commands.push_back(delivered.substr(parsed, end - parsed));
                parsed = end + 2;
                if (loginLines > 0) {
                    Answer(loginLines-- == 2 ? "USER" : "PASS");
                    continue;
                }
                loginLines = commands.back() == "AUTH LOGIN" ? 2 : 0;
                Answer(commands.back().substr(0, 4));
            }
        }
    }
    int Send(const char* bytes, int length) override {
        sentDuringHandshake = sentDuringHandshake || handshaking;
        const size_t at = delivered.size();
        if (blockAt.erase(at) != 0) {
            blocked = true;
            ++blockCount;
            return kSmtpWouldBlock;
        }
        size_t take = std::min(static_cast<size_t>(length), maxPerSend);
        const auto next = blockAt.upper_bound(at);
        if (next != blockAt.end() && *next < at + take) {
            take = *next - at;
        }
        if (failAt != std::string::npos && at + take > failAt) {
            return kSmtpSocketError;
        }
        delivered.append(bytes, take);
        ServerReads();
        return static_cast<int>(take);
    }
    int Receive(char* buffer, int size) override {
        if (receiveFails || pendingReply.empty() || handshaking) {
            return receiveFails ? kSmtpSocketError : kSmtpWouldBlock;
        }
        const size_t count = std::min({static_cast<size_t>(size), readSize, pendingReply.size()});
        std::memcpy(buffer, pendingReply.data(), count);
        pendingReply.erase(0, count);
        return static_cast<int>(count);
    }
    void Close() override { ++closeCalls; }
    void GetLocalHostName(char* name, size_t size) override { CopyField(name, size, "kestro"); }
    void GetDateText(char* text, size_t size) override {
        CopyField(text, size, "Tue, 05 Mar 2024 09:07:03 +0100");
    }
    void GetMessageId(const char* sender, char* text, size_t size) override {
        FormatMessageId(1709625423, 4242, 1, sender, text, size);
    }
    void PostWriteEvent() override { ++posted; }
    void ShowStatusText(const char* text) override { statusTexts.push_back(text); }
    void ShowMessage(const char* text, const char* caption, SmtpMessageIcon) override {
        boxes.emplace_back(text, caption);
    }
    void PaintProgress(int percent, bool) override {
        paints.emplace_back(session->sendState, percent);
    }
    void ShowMessageSent() override { ++messageSentShown; }
    void StartTls() override {
        handshaking = true;
        handshakeSteps = 3;
        tlsStarts.push_back(delivered.size());
    }
    TlsStep ContinueTls(char* failure, size_t size) override {
        if (!handshaking || --handshakeSteps > 0) {
            return TlsStep::Pending;
        }
        handshaking = false;
        CopyField(failure, size, "The server's certificate is for another name.");
        return handshakeEnd;
    }
    bool GetPassword(char* password, size_t size) override {
        CopyField(password, size, "s3cret");
        return passwordReadable;
    }
};

// A message to bob@example.net, a session and the fake server, driven like the main window.
struct Mail {
    MessagePtr message = NewMessage();
    std::unique_ptr<SmtpSession> session{new SmtpSession()};
    ProgramSettings settings = {};
    FakeServer server;
    std::string address = "192.0.2.7"; // where the server is: not on this machine
    bool failed = false;
    bool closeBeforeWrites = false; // the close notification overtakes the posted writes

    Mail() {
        CopyField(settings.userName, "Ann Lee");
        CopyField(settings.mailFrom, "ann@example.org");
        CopyField(settings.serverName, "mail.example.org");
        CopyField(message->sender, kSenderLength, "ann@example.org");
        CopyField(message->subject, kSubjectLength, "Hello");
        ParseRecipients("bob@example.net", message->to);
        SetText("Hi Bob\r\n");
        server.session = session.get();
    }
    void SetText(const std::string& text) { BuildTextPart(*message, text.data(), text.size()); }
    void Attach(const std::string& name, const std::string& bytes) {
        const std::string path = TempFolder() + name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        AddOutgoingAttachment(*message, path.c_str(), static_cast<uint32_t>(bytes.size()));
    }
    void Handle(int event, int error = 0) {
        HandleSmtpEvent(*session, event, error);
        failed = EndFailedSmtpSession(*session) || failed;
    }
    void Start(int connectError = 0) {
        BeginSmtpSession(*session, server, *message, settings);
        MarkSmtpConnecting(*session, address.c_str());
        server.pendingReply = server.greeting;
        Handle(kSmtpEventConnect, connectError);
    }
    // Delivers the next notification in the order the socket would: posted writes, replies, a
    // write when the socket takes data again, the close. False when none is due.
    bool Step() {
        const bool closeNow = server.closing && server.pendingReply.empty();
        int event = 0;
        if (server.posted > 0 && !(closeNow && closeBeforeWrites)) {
            --server.posted;
            event = kSmtpEventWrite;
        } else if (!session->open) {
            return false;
        } else if (server.handshaking) {
            event = kSmtpEventRead; // the server's part of the handshake arrives
        } else if (!server.pendingReply.empty()) {
            event = kSmtpEventRead;
        } else if (server.blocked) {
            server.blocked = false;
            event = kSmtpEventWrite;
        } else if (closeNow) {
            server.closing = false;
            server.closeAfter.clear();
            event = kSmtpEventClose;
        } else {
            return false;
        }
        Handle(event);
        return true;
    }
    void Run(const std::function<void()>& afterEach = nullptr) {
        Start();
        for (int i = 0; i < 100000 && Step(); ++i) {
            if (afterEach) {
                afterEach();
            }
        }
    }
};

std::string Bytes(size_t count, unsigned seed) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) {
        bytes += static_cast<char>((i * 131 + seed + i / 251) & 0xFF);
    }
    return bytes;
}

// The base64 text of an attachment: from the empty line after its headers to the next boundary.
std::string AttachmentBody(const std::string& data, const std::string& name) {
    const size_t start = data.find("filename=\"" + name + "\"\r\n\r\n") + name.size() + 15;
    return data.substr(start, data.find("\r\n--" + kMain, start) - start);
}

TEST(SmtpSession, PlainMessageGoesOutExactly) {
    Mail mail;
    mail.Run();
    EXPECT_FALSE(mail.failed);
    EXPECT_EQ(mail.server.delivered,
              "HELO kestro\r\n"
              "MAIL FROM: <ann@example.org>\r\n"
              "RCPT TO: <bob@example.net>\r\n"
              "DATA\r\n"
              "From: \"Ann Lee\" <ann@example.org>\r\n"
              "To: <bob@example.net>\r\n"
              "Date: Tue, 05 Mar 2024 09:07:03 +0100\r\n"
              "Message-ID: <1709625423.4242.1@example.org>\r\n"
              "Subject: Hello\r\n"
              "X-mailer: Kestro\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: multipart/mixed; boundary=\"kestr1_140899_BounDAry_9903\"\r\n"
              "\r\nmultipart message in MIME format\r\n"
              "\r\n--kestr1_140899_BounDAry_9903\r\n"
              "Content-Type: text/plain\r\n"
              "Content-Transfer-Encoding: 7bit\r\n\r\n"
              "Hi Bob\r\n"
              "\r\n--kestr1_140899_BounDAry_9903--\r\n"
              "\r\n.\r\n"
              "QUIT\r\n");
    EXPECT_EQ(mail.server.messageSentShown, 1);
    EXPECT_EQ(mail.server.closeCalls, 1);
    EXPECT_EQ(mail.session->sendState, SMTP_IDLE);
    EXPECT_TRUE(mail.server.boxes.empty());
    EXPECT_EQ(mail.server.statusTexts,
              (std::vector<std::string>{"Connected, Awaiting Reply", "Sending Message"}));
    // 14 % during the header block, 100 % only in QUIT, an empty bar at the end.
    for (const auto& paint : mail.server.paints) {
        if (paint.first == SMTP_HEADERS) {
            EXPECT_EQ(paint.second, 14);
        }
        EXPECT_EQ(paint.second == 100, paint.first == SMTP_QUIT) << paint.first;
    }
    EXPECT_EQ(mail.server.paints.back(), std::make_pair(SMTP_IDLE, 0));
}

TEST(SmtpSession, EveryListIsAddressedAndAttachmentsAreStreamed) {
    Mail mail;
    ParseRecipients("bob@example.net, cy@example.com", mail.message->to);
    mail.message->hasCc = ParseRecipients("dee@example.org", mail.message->cc) > 0;
    mail.message->hasBcc = ParseRecipients("secret@example.org", mail.message->bcc) > 0;
    const std::string voice = Bytes(1026, 1);
    const std::string clip = Bytes(2 * kAttachmentChunkSize + 5000, 2); // three chunks
    // Ends with the last block of a full piece: an empty piece follows.
    const std::string pieces = Bytes(2 * kBase64BlocksPerPiece * kBase64BlockSize, 3);
    mail.Attach("voice.wav", voice);
    mail.Attach("clip.avi", clip);
    mail.Attach("pieces.bin", pieces);
    mail.Run();
    ASSERT_FALSE(mail.failed);
    EXPECT_EQ(mail.server.messageSentShown, 1);
    EXPECT_EQ(mail.server.commands,
              (std::vector<std::string>{"HELO kestro", "MAIL FROM: <ann@example.org>",
                                        "RCPT TO: <bob@example.net>", "RCPT TO: <cy@example.com>",
                                        "RCPT TO: <dee@example.org>",
                                        "RCPT TO: <secret@example.org>", "DATA", "QUIT"}));
    const std::string& data = mail.server.data;
    EXPECT_NE(data.find("\r\nCc: <dee@example.org>\r\n"), std::string::npos);
    EXPECT_EQ(data.find("secret"), std::string::npos);
    EXPECT_NE(data.find("Content-Type: video/avi; name=\"clip.avi\"\r\n"), std::string::npos);

    const std::string voiceText = AttachmentBody(data, "voice.wav");
    EXPECT_EQ(voiceText.size(), 19u * 74u); // 1026 bytes are 19 full lines
    EXPECT_EQ(DecodeBase64ForTest(voiceText), voice);
    // One base64 text across the chunks: 72 characters and CR LF on every line but the last.
    const std::string clipText = AttachmentBody(data, "clip.avi");
    EXPECT_EQ(DecodeBase64ForTest(clipText), clip);
    size_t lineStart = 0;
    for (size_t end; (end = clipText.find("\r\n", lineStart)) != std::string::npos;
         lineStart = end + 2) {
        ASSERT_EQ(end - lineStart, 72u) << "line at " << lineStart;
    }
    EXPECT_LE(clipText.size() - lineStart, 72u);
    const std::string piecesText = AttachmentBody(data, "pieces.bin");
    EXPECT_EQ(piecesText.size(), 2 * kBase64BlocksPerPiece * 19u * 74u);
    EXPECT_EQ(DecodeBase64ForTest(piecesText), pieces);
    EXPECT_EQ(data.substr(data.size() - 40), "\r\n--" + kMain + "--\r\n\r\n.\r\n");
    // The bar is painted again only when its percent changes, and cleared at the end.
    const auto& paints = mail.server.paints;
    ASSERT_GT(paints.size(), 10u);
    for (size_t i = 1; i < paints.size(); ++i) {
        EXPECT_TRUE(paints[i].second != paints[i - 1].second || paints[i].first == SMTP_IDLE)
            << "paint " << i;
    }
    EXPECT_EQ(paints.back(), std::make_pair(SMTP_IDLE, 0));
}

TEST(SmtpSession, FormattedMessageCarriesTheHtmlAlternative) {
    Mail mail;
    mail.message->alternative = 1;
    mail.SetText("Hi Bob\r\n");
    BuildHtmlPart(*mail.message, "<HTML>Hi</HTML>\n");
    mail.Run();
    const std::string alt = "kestr1_140899_bOUNdaRY_9903_alt";
    const std::string& data = mail.server.data;
    const size_t text = data.find("\r\n--" + alt + "\r\nContent-Type: text/plain\r\n");
    const size_t html = data.find("\r\n\r\n--" + alt + "\r\nContent-Type: text/html\r\n");
    const size_t end = data.find("</HTML>\r\n\r\n--" + alt + "--\r\n\r\n--" + kMain + "--\r\n");
    EXPECT_LT(text, html);
    EXPECT_LT(html, end);
    EXPECT_NE(end, std::string::npos);
}

TEST(SmtpSession, WouldBlockAtEveryByteResumesAtThatByte) {
    auto prepare = [](Mail& mail) {
        mail.message->hasCc = ParseRecipients("dee@example.org", mail.message->cc) > 0;
        mail.message->hasBcc = ParseRecipients("eve@example.org", mail.message->bcc) > 0;
        mail.message->alternative = 1;
        mail.SetText(std::string(1300, 'a') + "\r\n.\r\nbye\r\n"); // more than one slice
        BuildHtmlPart(*mail.message, "<HTML>x</HTML>\n");
        mail.Attach("note.txt", Bytes(100, 3));
    };
    Mail reference;
    prepare(reference);
    reference.Run();
    const std::string expected = reference.server.delivered;
    ASSERT_EQ(reference.server.messageSentShown, 1);
    ASSERT_GT(expected.size(), 2000u);

    for (size_t offset = 0; offset < expected.size(); ++offset) {
        Mail mail;
        prepare(mail);
        mail.server.blockAt.insert(offset);
        mail.Run();
        ASSERT_EQ(mail.server.blockCount, 1) << offset;
        ASSERT_EQ(mail.server.delivered, expected) << "blocked at " << offset;
        ASSERT_EQ(mail.server.messageSentShown, 1) << offset;
    }
    // Every byte blocking once, and sockets that take only a few bytes per call.
    Mail everyByte;
    prepare(everyByte);
    for (size_t offset = 0; offset < expected.size(); ++offset) {
        everyByte.server.blockAt.insert(offset);
    }
    everyByte.Run();
    EXPECT_EQ(everyByte.server.delivered, expected);
    for (size_t perSend : {1, 3, 1279}) {
        Mail mail;
        prepare(mail);
        mail.server.maxPerSend = perSend;
        mail.Run();
        EXPECT_EQ(mail.server.delivered, expected) << perSend;
    }
}

TEST(SmtpSession, UnexpectedRepliesEndTheSessionWithTheReplyShown) {
    const std::pair<const char*, const char*> cases[] = {
        {"RCPT", "251 User not local; will forward\r\n"},
        {"HELO", "500 what?\r\n"},
        {"MAIL", "OK fine\r\n"},
        {"DATA", "250 ok\r\n"},
        {"END", "554 rejected\r\n"},
        {"QUIT", "\r\n"},
    };
    for (const auto& c : cases) {
        Mail mail;
        mail.server.replies[c.first] = c.second;
        mail.Run();
        EXPECT_TRUE(mail.failed) << c.second;
        EXPECT_EQ(mail.server.boxes, (std::vector<Box>{{c.second, "SMTP error"}}));
        EXPECT_EQ(mail.server.commands.back().substr(0, 4),
                  c.first == std::string("END") ? "DATA" : c.first);
        EXPECT_EQ(mail.server.closeCalls, 1);
        EXPECT_EQ(mail.server.messageSentShown, 0);
        EXPECT_EQ(mail.session->sendState, SMTP_IDLE);
    }
    Mail greeting;
    greeting.server.greeting = "554 no service here\r\n";
    greeting.Run();
    EXPECT_TRUE(greeting.failed);
    EXPECT_TRUE(greeting.server.delivered.empty());
}

TEST(SmtpSession, SplitMultiLineAndOverlongRepliesAreRead) {
    Mail reference;
    reference.Run();
    Mail split;
    split.server.readSize = 1;
    split.server.greeting = "220-mail.example.org\r\n220-no UCE\r\n220 ready\r\n";
    split.server.replies["HELO"] = "250-hello\r\n250-SIZE\r\n250 HELP\r\n";
    split.server.replies["MAIL"] = "250 " + std::string(5000, 'x') + "\r\n";
    split.Run();
    EXPECT_EQ(split.server.delivered, reference.server.delivered);
    EXPECT_EQ(split.server.messageSentShown, 1);

    Mail overlong;
    overlong.server.replies["HELO"] = "550 " + std::string(5000, 'y') + "\r\n";
    overlong.Run();
    EXPECT_TRUE(overlong.failed);
    ASSERT_EQ(overlong.server.boxes.size(), 1u);
    EXPECT_EQ(overlong.server.boxes[0].first, "550 " + std::string(kSmtpReplyTextSize - 5, 'y'));
}

TEST(SmtpSession, ServerClosingBeforeAcceptanceIsNotReportedAsSent) {
    Mail early;
    early.server.closeAfter = "MAIL";
    early.Run();
    EXPECT_EQ(early.server.messageSentShown, 0);
    ASSERT_EQ(early.server.boxes.size(), 1u);
    EXPECT_EQ(early.server.boxes[0].second, "SMTP error");
    EXPECT_EQ(early.session->sendState, SMTP_IDLE);
    EXPECT_EQ(early.server.closeCalls, 1);
    // Once the message was accepted, a close before QUIT is a success, even when the close
    // notification comes before the write that would send QUIT.
    Mail accepted;
    accepted.server.closeAfter = "END";
    accepted.closeBeforeWrites = true;
    accepted.Run();
    EXPECT_EQ(accepted.server.messageSentShown, 1);
    EXPECT_TRUE(accepted.server.boxes.empty());
    EXPECT_EQ(accepted.server.commands.back(), "DATA");
}

TEST(SmtpSession, SocketAndFileErrors) {
    Mail atHelo;
    atHelo.server.failAt = 3;
    atHelo.Run();
    EXPECT_TRUE(atHelo.failed);
    EXPECT_EQ(atHelo.server.boxes,
              (std::vector<Box>{{"Error with FD_WRITE - retry connection", "TCP socket Error"}}));
    Mail atHeader;
    atHeader.server.failAt = 80;
    atHeader.Run();
    EXPECT_EQ(atHeader.server.boxes,
              (std::vector<Box>{{"Error with FD_WRITE", "TCP socket Error"}}));
    Mail atText;
    atText.server.failAt = 400;
    atText.Run();
    EXPECT_TRUE(atText.failed);
    EXPECT_TRUE(atText.server.boxes.empty());
    EXPECT_EQ(atText.server.closeCalls, 1);
    Mail receive;
    receive.server.receiveFails = true;
    receive.Run();
    EXPECT_TRUE(receive.failed);
    EXPECT_TRUE(receive.server.delivered.empty());

    Mail gone;
    AddOutgoingAttachment(*gone.message, "/nonexistent/kestro/gone.wav", 10);
    gone.Run();
    EXPECT_TRUE(gone.failed);
    EXPECT_EQ(gone.server.boxes,
              (std::vector<Box>{{"Couldn't find the attachment \"/nonexistent/kestro/gone.wav\"",
                                 "File Attachment Error"}}));
    const std::string& sent = gone.server.delivered;
    EXPECT_EQ(sent.substr(sent.size() - 4), "\r\n\r\n"); // stopped after the part's headers
}

TEST(SmtpSession, LineBreaksInAnAddressCannotStartACommand) {
    Mail mail;
    std::memcpy(mail.message->to.entries[0], "bob@x.net\r\nRSET", 16);
    mail.Run();
    EXPECT_EQ(mail.server.commands[2], "RCPT TO: <bob@x.net  RSET>");
    EXPECT_EQ(mail.server.commands.size(), 5u);
}

TEST(SmtpSession, CancelActsOnlyBeforeTheEndOfDataMark) {
    Mail mail;
    mail.server.blockAt.insert(80); // inside the header block
    bool cancelled = false;
    mail.Run([&] {
        if (!cancelled && mail.session->sendState == SMTP_HEADERS && mail.server.blocked) {
            cancelled = CancelSmtpSend(*mail.session);
        }
    });
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(mail.session->sendState, SMTP_IDLE);
    EXPECT_EQ(mail.message->cancelRequested, 1);
    EXPECT_EQ(mail.server.closeCalls, 1);
    EXPECT_EQ(mail.server.statusTexts.back(), "Canceled Send");
    EXPECT_FALSE(CancelSmtpSend(*mail.session));
    mail.Handle(kSmtpEventClose); // the socket's last notification finds the session ended
    EXPECT_EQ(mail.server.messageSentShown, 0);
    EXPECT_TRUE(mail.server.boxes.empty());

    Mail late;
    bool tried = false;
    late.Run([&] {
        if (!tried && late.session->sendState == SMTP_END_DATA) {
            tried = true;
            EXPECT_FALSE(CancelSmtpSend(*late.session));
        }
    });
    EXPECT_TRUE(tried);
    EXPECT_EQ(late.server.messageSentShown, 1);
}

TEST(SmtpSession, FailedConnectIsReported) {
    Mail mail;
    mail.Start(10061);
    EXPECT_TRUE(mail.failed);
    EXPECT_EQ(mail.server.boxes, (std::vector<Box>{{"  A connection to the SMTP server  \n "
                                                    "mail.example.org\n could not be established",
                                                    "Kestro"}}));
    EXPECT_EQ(mail.server.closeCalls, 1);
    EXPECT_FALSE(mail.Step());
}

const char* const kEhlo =
    "250-mail.example.org\r\n250-STARTTLS\r\n250-AUTH LOGIN PLAIN\r\n250 SIZE 1000000\r\n";
const char* const kEhloOverTls = "250-mail.example.org\r\n250-AUTH=LOGIN PLAIN\r\n250 HELP\r\n";

// A server that offers STARTTLS, both logins and a large SIZE; ann logs in with s3cret.
void Secure(Mail& mail, int security, const char* user) {
    mail.settings.smtpSecurity = security;
    CopyField(mail.settings.smtpUser, sizeof mail.settings.smtpUser, user);
    mail.server.replies["EHLO"] = kEhlo;
    mail.server.replies["EHLO+TLS"] = kEhloOverTls;
    mail.server.replies["STAR"] = "220 go ahead\r\n";
    mail.server.replies["AUTH"] = "235 welcome\r\n";
}

// What the plain session sends after DATA, for the secured ones to match.
std::string PlainData() {
    Mail plain;
    plain.Run();
    return plain.server.data;
}

TEST(SmtpSecuredSession, EachSecurityAndLoginSendsThePlainSessionsMessage) {
    const std::string data = PlainData();
    struct Case {
        const char* name;
        int security;
        const char* user;
        const char* address;
        std::map<std::string, std::string> replies;
        std::vector<std::string> commands; // up to MAIL FROM
        std::vector<size_t> tlsStarts;
    };
    const size_t afterStartTls = std::string("EHLO kestro\r\nSTARTTLS\r\n").size();
    const Case cases[] = {
        // Bytes after the 220 to STARTTLS must not pass for a reply over TLS.
        {"STARTTLS, PLAIN preferred",
         kSmtpSecurityStartTls,
         "ann",
         "192.0.2.7",
         {{"STAR", "220 go ahead\r\n250 injected\r\n"}},
         {"EHLO kestro", "STARTTLS", "EHLO kestro", "AUTH PLAIN AGFubgBzM2NyZXQ="},
         {afterStartTls}},
        {"TLS from the start, LOGIN offered alone",
         kSmtpSecurityTls,
         "ann",
         "192.0.2.7",
         {{"EHLO+TLS", "250-mail.example.org\r\n250 AUTH LOGIN\r\n"},
          {"AUTH", "334 VXNlcm5hbWU6\r\n"},
          {"USER", "334 UGFzc3dvcmQ6\r\n"},
          {"PASS", "235 welcome\r\n"}},
         {"EHLO kestro", "AUTH LOGIN", "YW5u", "czNjcmV0"},
         {0}},
        {"a login without TLS to this machine",
         kSmtpSecurityNone,
         "ann",
         "127.0.0.1",
         {},
         {"EHLO kestro", "AUTH PLAIN AGFubgBzM2NyZXQ="},
         {}},
        {"EHLO refused: HELO",
         kSmtpSecurityTls,
         "",
         "192.0.2.7",
         {{"EHLO+TLS", "502 5.5.1 not implemented\r\n"}},
         {"EHLO kestro", "HELO kestro"},
         {0}},
        {"a message just within SIZE",
         kSmtpSecurityStartTls,
         "",
         "192.0.2.7",
         {{"EHLO+TLS", "250-x\r\n250 SIZE " + std::to_string(data.size() - 3) + "\r\n"}},
         {"EHLO kestro", "STARTTLS", "EHLO kestro"},
         {afterStartTls}},
    };
    for (const Case& c : cases) {
        Mail mail;
        Secure(mail, c.security, c.user);
        mail.address = c.address;
        for (const auto& reply : c.replies) {
            mail.server.replies[reply.first] = reply.second;
        }
        mail.Run();
        std::vector<std::string> expected = c.commands;
        for (const char* rest :
             {"MAIL FROM: <ann@example.org>", "RCPT TO: <bob@example.net>", "DATA", "QUIT"}) {
            expected.push_back(rest);
        }
        EXPECT_EQ(mail.server.commands, expected) << c.name;
        EXPECT_EQ(mail.server.tlsStarts, c.tlsStarts) << c.name;
        EXPECT_FALSE(mail.server.sentDuringHandshake) << c.name;
        EXPECT_EQ(mail.server.data, data) << c.name;
        EXPECT_EQ(mail.server.messageSentShown, 1) << c.name;
        EXPECT_TRUE(mail.server.boxes.empty()) << c.name << ": " << mail.server.boxes[0].first;
    }
}

TEST(SmtpSecuredSession, WhatCannotBeDoneSafelyIsRefusedBeforeMailFrom) {
    struct Case {
        const char* name;
        int security;
        const char* user;
        std::map<std::string, std::string> replies;
        std::vector<std::string> commands;
        Box box; // the text is a part of the box's text
    };
    const Case cases[] = {
        {"STARTTLS not offered",
         kSmtpSecurityStartTls,
         "ann",
         {{"EHLO", "250-mail.example.org\r\n250 AUTH PLAIN\r\n"}},
         {"EHLO kestro", "QUIT"},
         {"The server mail.example.org does not offer STARTTLS", "Secure connection"}},
        {"a login over plain TCP to another machine",
         kSmtpSecurityNone,
         "ann",
         {},
         {"EHLO kestro", "QUIT"},
         {"The connection to mail.example.org is not encrypted", "Secure connection"}},
        {"no login offered",
         kSmtpSecurityTls,
         "ann",
         {{"EHLO+TLS", "250-mail.example.org\r\n250 SIZE\r\n"}},
         {"EHLO kestro", "QUIT"},
         {"The server mail.example.org does not offer a login (AUTH)", "SMTP login"}},
        {"no login Kestro knows",
         kSmtpSecurityTls,
         "ann",
         {{"EHLO+TLS", "250-mail.example.org\r\n250 AUTH CRAM-MD5 XOAUTH2\r\n"}},
         {"EHLO kestro", "QUIT"},
         {"The server mail.example.org offers no login that Kestro knows", "SMTP login"}},
        {"SIZE exceeded",
         kSmtpSecurityStartTls,
         "ann",
         {{"EHLO+TLS", "250-mail.example.org\r\n250-AUTH PLAIN\r\n250 SIZE 100\r\n"}},
         {"EHLO kestro", "STARTTLS", "EHLO kestro", "QUIT"},
         {"bytes, but the server mail.example.org takes messages of at most 100 bytes.\nThe "
          "message was not sent",
          "Message too large"}},
        {"a wrong password",
         kSmtpSecurityStartTls,
         "ann",
         {{"AUTH", "535 5.7.8 Authentication credentials invalid\r\n"}},
         {"EHLO kestro", "STARTTLS", "EHLO kestro", "AUTH PLAIN AGFubgBzM2NyZXQ="},
         {"535 5.7.8 Authentication credentials invalid\r\n\nThe server refused the login: "
          "check the user name and password in E-mail Settings.",
          "SMTP login"}},
        {"a certificate refused",
         kSmtpSecurityTls,
         "ann",
         {},
         {},
         {"The connection to mail.example.org could not be secured.\nThe server's certificate "
          "is for another name.\nThe message was not sent.",
          "Secure connection"}},
        {"a password that cannot be read",
         kSmtpSecurityTls,
         "ann",
         {},
         {"EHLO kestro"},
         {"The password saved in E-mail Settings cannot be read", "SMTP login"}},
    };
    for (const Case& c : cases) {
        Mail mail;
        Secure(mail, c.security, c.user);
        for (const auto& reply : c.replies) {
            mail.server.replies[reply.first] = reply.second;
        }
        mail.server.handshakeEnd =
            std::string(c.name) == "a certificate refused" ? TlsStep::Failed : TlsStep::Done;
        mail.server.passwordReadable = std::string(c.name) != "a password that cannot be read";
        mail.Run();
        EXPECT_EQ(mail.server.commands, c.commands) << c.name;
        EXPECT_TRUE(mail.failed) << c.name;
        EXPECT_EQ(mail.session->sendState, SMTP_IDLE) << c.name;
        EXPECT_EQ(mail.server.closeCalls, 1) << c.name;
        EXPECT_EQ(mail.server.messageSentShown, 0) << c.name;
        ASSERT_EQ(mail.server.boxes.size(), 1u) << c.name;
        EXPECT_NE(mail.server.boxes[0].first.find(c.box.first), std::string::npos)
            << c.name << ": " << mail.server.boxes[0].first;
        EXPECT_EQ(mail.server.boxes[0].second, c.box.second) << c.name;
        EXPECT_EQ(mail.server.delivered.find("s3cret"), std::string::npos) << c.name;
        EXPECT_EQ(mail.session->progress < 100, true) << c.name;
    }
}

TEST(SmtpSecuredSession, WouldBlockAtEveryByteOfALoginResumesAtThatByte) {
    auto prepare = [](Mail& mail) {
        Secure(mail, kSmtpSecurityStartTls, "ann");
        mail.server.replies["EHLO+TLS"] = "250-mail.example.org\r\n250 AUTH LOGIN\r\n";
        mail.server.replies["AUTH"] = "334 VXNlcm5hbWU6\r\n";
        mail.server.replies["USER"] = "334 UGFzc3dvcmQ6\r\n";
        mail.server.replies["PASS"] = "235 welcome\r\n";
    };
    Mail reference;
    prepare(reference);
    reference.Run();
    ASSERT_EQ(reference.server.messageSentShown, 1);
    Mail everyByte;
    prepare(everyByte);
    for (size_t offset = 0; offset < reference.server.delivered.size(); ++offset) {
        everyByte.server.blockAt.insert(offset);
    }
    everyByte.Run();
    EXPECT_EQ(everyByte.server.delivered, reference.server.delivered);
    EXPECT_EQ(everyByte.server.messageSentShown, 1);
}

TEST(SmtpProgress, PercentByStateAndEstimate) {
    MessagePtr message = NewMessage();
    EXPECT_EQ(SmtpProgressPercent(SMTP_GREETING, 55, 0, *message), 55);
    EXPECT_EQ(SmtpProgressPercent(SMTP_RCPT_BCC, 0, 0, *message), 12);
    EXPECT_EQ(SmtpProgressPercent(SMTP_QUIT | kSmtpErrorBits, 40, 0, *message), 40);
    EXPECT_EQ(SmtpProgressPercent(SMTP_TEXT, 0, 0, *message), 14); // an empty estimate
    message->textReady = 1;
    message->textLength = 600;
    message->htmlLength = 5000; // not ready: not counted
    message->attachmentBytes = 400;
    message->attachmentCount = 1;
    EXPECT_EQ(SmtpProgressPercent(SMTP_ATTACHMENTS, 0, 700, *message), 52); // 700 * 76 / 1400
    EXPECT_EQ(SmtpProgressPercent(SMTP_ATTACHMENTS, 0, 0xFFFFFFFFu, *message), 99);
}

} // namespace
