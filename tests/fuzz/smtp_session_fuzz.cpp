// The SMTP session driven by whatever a server sends. The input is a script: its first byte sets
// how the socket takes bytes (bits 0-1: all at once, one a call, or blocking every other call)
// and whether the connect fails (bit 7); then come events: 'C' the server closes, 'W' a write
// notification nobody posted, 'X' the user cancels, and any other byte n a read notification
// that brings the next n bytes. Posted write notifications are delivered after each event, as
// the message loop delivers them. Whatever the script, the session sends a prefix of the one
// conversation a good server sees, its state word is always one of its states (or those with the
// error bits), and the Message Sent dialog comes only after the whole message went out.
#include "fuzz_support.h"

#include <algorithm>
#include <cstring>

#include "app/settings_file.h"
#include "mail/body_parts.h"
#include "mail/outgoing_message.h"
#include "mail/smtp_session.h"

namespace {

struct ScriptedServer : SmtpPlatform {
    int sendMode = 0;
    int sendCalls = 0;
    std::string wire;     // everything the session sent
    std::string incoming; // the bytes of the current read notification
    int writesDue = 0;    // posted, or promised by a send that would block
    int sentShown = 0;

    int Send(const char* bytes, int length) override {
        if (sendMode == 2 && ++sendCalls % 2 == 0) {
            ++writesDue; // the socket reports writable again later
            return kSmtpWouldBlock;
        }
        const int taken = sendMode == 1 ? 1 : length;
        wire.append(bytes, static_cast<size_t>(taken));
        return taken;
    }
    int Receive(char* buffer, int size) override {
        const size_t count = std::min(static_cast<size_t>(size), incoming.size());
        std::memcpy(buffer, incoming.data(), count);
        incoming.erase(0, count);
        return static_cast<int>(count);
    }
    void Close() override {}
    void GetLocalHostName(char* name, size_t size) override { CopyField(name, size, "kestro"); }
    void GetDateText(char* text, size_t size) override {
        CopyField(text, size, "Tue, 05 Mar 2024 09:07:03 +0100");
    }
    void GetMessageId(const char* sender, char* text, size_t size) override {
        FormatMessageId(1709625423, 4242, 1, sender, text, size);
    }
    void PostWriteEvent() override { ++writesDue; }
    void ShowStatusText(const char* text) override { FUZZ_CHECK(std::strlen(text) < 1024); }
    void ShowMessage(const char* text, const char* caption, SmtpMessageIcon) override {
        FUZZ_CHECK(std::strlen(text) < 2048 && caption != nullptr);
    }
    void PaintProgress(int percent, bool) override { FUZZ_CHECK(percent >= 0 && percent <= 100); }
    void ShowMessageSent() override { ++sentShown; }
};

bool IsSessionState(uint32_t state) {
    static const uint32_t kStates[] = {
        SMTP_IDLE,     SMTP_RESOLVING,    SMTP_GREETING, SMTP_HELO,         SMTP_MAIL_FROM,
        SMTP_RCPT_TO,  SMTP_RCPT_CC,      SMTP_RCPT_BCC, SMTP_DATA,         SMTP_HEADERS,
        SMTP_TEXT,     SMTP_TEXT_TRAILER, SMTP_HTML,     SMTP_HTML_TRAILER, SMTP_ATTACHMENTS,
        SMTP_END_DATA, SMTP_QUIT};
    const uint32_t stage = state & ~kSmtpErrorBits;
    return std::find(std::begin(kStates), std::end(kStates), stage) != std::end(kStates) &&
           ((state & kSmtpErrorBits) == 0 || (state & kSmtpErrorBits) == kSmtpErrorBits);
}

// The message every run sends: two To addresses, a Cc and a Bcc, a formatted body and an
// attachment of a few base64 blocks.
OutgoingMessage& Message() {
    static OutgoingMessage message;
    ResetOutgoingMessage(message);
    ParseRecipients("bob@example.net cy@example.com", message.to);
    message.hasCc = ParseRecipients("dee@example.org", message.cc) > 0;
    message.hasBcc = ParseRecipients("eve@example.org", message.bcc) > 0;
    CopyField(message.sender, "ann@example.org");
    CopyField(message.subject, "Voice mail");
    message.alternative = 1;
    BuildTextPart(message, "Hello\r\n.\r\nBye\r\n", 15);
    BuildHtmlPart(message, "<HTML>Hello</HTML>\n");
    static const std::string attachment = WriteFuzzFile("note.txt", std::string(3000, 'k'));
    AddOutgoingAttachment(message, attachment.c_str(), 3000);
    return message;
}

ProgramSettings Settings() {
    ProgramSettings settings = {};
    CopyField(settings.userName, "Ann Lee");
    CopyField(settings.mailFrom, "ann@example.org");
    CopyField(settings.serverName, "mail.example.org");
    return settings;
}

// Runs the script and returns what went over the wire.
std::string Run(const std::string& script) {
    FuzzInput input = {reinterpret_cast<const uint8_t*>(script.data()), script.size()};
    ScriptedServer server;
    const uint8_t setup = input.Byte();
    server.sendMode = setup & 3;
    OutgoingMessage& message = Message();
    const ProgramSettings settings = Settings();
    static SmtpSession session; // large: kept out of the stack
    session = SmtpSession{};
    BeginSmtpSession(session, server, message, settings);
    MarkSmtpConnecting(session);
    auto handle = [&](int event, int error) {
        FUZZ_CHECK(IsSessionState(HandleSmtpEvent(session, event, error)));
        EndFailedSmtpSession(session);
    };
    handle(kSmtpEventConnect, setup & 0x80 ? 10061 : 0);
    while (true) {
        // The message loop delivers what was posted (a bounded number, so that a session that
        // kept posting itself would show as a hang rather than pass).
        for (int delivered = 0; server.writesDue > 0; ++delivered) {
            FUZZ_CHECK(delivered < 100000);
            --server.writesDue;
            handle(kSmtpEventWrite, 0);
        }
        if (input.size == 0) {
            break;
        }
        const uint8_t event = input.Byte();
        if (event == 'C') {
            handle(kSmtpEventClose, 0);
        } else if (event == 'W') {
            handle(kSmtpEventWrite, 0);
        } else if (event == 'X') {
            CancelSmtpSend(session);
        } else {
            for (uint8_t i = 0; i < event; ++i) {
                server.incoming += static_cast<char>(input.Byte());
            }
            handle(kSmtpEventRead, 0);
            server.incoming.clear();
        }
    }
    EndSmtpSession(session);
    ResetOutgoingMessage(message);
    return server.wire + (server.sentShown > 0 ? std::string(1, '\0') : "");
}

// The script of a good server: a reply for each command, then the close.
std::string GoodScript() {
    std::string script(1, '\0');
    for (const char* reply : {"220 ready", "250 hello", "250 sender ok", "250 ok", "250 ok",
                              "250 ok", "250 ok", "354 go ahead", "250 queued", "221 bye"}) {
        const std::string line = std::string(reply) + "\r\n";
        script += static_cast<char>(line.size()) + line;
    }
    return script + "C";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The whole conversation, and the Message Sent dialog (marked by a NUL after it).
    static const std::string conversation = Run(GoodScript());
    FUZZ_CHECK(conversation.size() > 3000 && conversation.back() == '\0');
    const std::string sent = Run(std::string(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(conversation.compare(0, sent.size(), sent) == 0);
    return 0;
}
