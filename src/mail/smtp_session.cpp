#include "mail/smtp_session.h"

#include "base/program_settings.h"
#include "base/scoped_file.h"
#include "base/wipe_secret.h"
#include "mail/outgoing_message.h"
#include "mail/reachability.h"
#include "mail/smtp_account.h"
#include "mail/smtp_auth.h"
#include "print/size_texts.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

static_assert(std::is_trivially_copyable<SmtpSession>::value,
              "a session is reset by zero-filling it");

namespace {

constexpr const char* kWriteErrorRetry = "Error with FD_WRITE - retry connection";
constexpr const char* kWriteError = "Error with FD_WRITE";
constexpr const char* kSocketErrorCaption = "TCP socket Error";
constexpr const char* kEarlyClose = "The SMTP server closed the connection before the message "
                                    "was accepted.\nThe message was not sent.";
constexpr const char* kSecurityCaption = "Secure connection";
constexpr const char* kLoginCaption = "SMTP login";
constexpr const char* kCheckLogin =
    "The server refused the login: check the user name and password in E-mail Settings.";
constexpr const char* kPasswordUnreadable =
    "The password saved in E-mail Settings cannot be read under this Windows account.\n"
    "Enter it again in E-mail Settings.";
constexpr const char* kLoginTooLong =
    "The user name or the password in E-mail Settings is longer than 255 characters.";
constexpr size_t kSmtpMessageSize = kSmtpReplyTextSize + kTlsFailureSize + 2 * kNameLength;
constexpr int kWholeRest = 0x7FFFFFFF;   // commands and attachment pieces go in one call each
constexpr int kSmtpArgumentLength = 512; // host name, sender or recipient: far shorter

enum class SendResult { Done, Blocked, Failed };

uint32_t Stage(const SmtpSession& session) {
    return session.sendState;
}

bool Failed(const SmtpSession& session) {
    return SendFailed(session.sendState);
}

void Fail(SmtpSession& session, const char* text, const char* caption) {
    if (text != nullptr) {
        session.platform->ShowMessage(text, caption, SmtpMessageIcon::None);
    }
    MarkSendFailed(session.sendState);
}

// Ends the session first and then tells the user why, so that no notification handled while
// the message box is open can take the session a step further.
void FailWith(SmtpSession& session, const char* text, const char* caption) {
    MarkSendFailed(session.sendState);
    session.platform->ShowMessage(text, caption, SmtpMessageIcon::Exclamation);
}

// Moves to the next state and asks for the write notification that takes its first step.
void GoToState(SmtpSession& session, uint32_t next) {
    session.sendState = next;
    session.newState = 1;
    session.commandSent = 0;
    session.awaitingReply = 0;
    session.replyOk = 0;
    session.bytesSent = 0;
    session.platform->PostWriteEvent();
}

// The session will not send the message: it says QUIT, and ends at the server's answer.
void Refuse(SmtpSession& session, const char* text, const char* caption) {
    session.refused = 1;
    GoToState(session, SMTP_QUIT);
    session.platform->ShowMessage(text, caption, SmtpMessageIcon::Exclamation);
}

// Sends what is left of the piece from bytesSent on, in calls of at most slice bytes. A send
// that would block leaves bytesSent at the first byte not taken, where the next write
// notification resumes.
SendResult SendRest(SmtpSession& session, const char* piece, uint32_t length, int slice,
                    bool countsAsBody) {
    while (session.bytesSent < length) {
        const uint32_t rest = length - session.bytesSent;
        const int want = rest < static_cast<uint32_t>(slice) ? static_cast<int>(rest) : slice;
        const int sent = session.platform->Send(piece + session.bytesSent, want);
        if (sent == kSmtpWouldBlock) {
            return SendResult::Blocked;
        }
        if (sent <= 0 || sent > want) {
            return SendResult::Failed;
        }
        session.bytesSent += static_cast<uint32_t>(sent);
        if (countsAsBody) {
            session.bodyBytesSent += static_cast<uint32_t>(sent);
        }
    }
    return SendResult::Done;
}

// The command text: the words, the argument (cut to fit) and CR LF. A line break inside the
// argument becomes a blank, so that an address can never start a command of its own.
void SetCommand(SmtpSession& session, const char* words, const char* argument) {
    const int length = std::snprintf(session.commandBuffer, sizeof session.commandBuffer, "%s%.*s",
                                     words, kSmtpArgumentLength, argument);
    uint32_t used = length > 0 ? static_cast<uint32_t>(length) : 0;
    if (used > sizeof session.commandBuffer - 3) {
        used = sizeof session.commandBuffer - 3;
    }
    for (uint32_t i = 0; i < used; ++i) {
        if (session.commandBuffer[i] == '\r' || session.commandBuffer[i] == '\n') {
            session.commandBuffer[i] = ' ';
        }
    }
    std::memcpy(session.commandBuffer + used, "\r\n", 3);
    session.commandLength = used + 2;
}

// A command that is sent completely and then waits for its reply.
void SentCommand(SmtpSession& session) {
    session.commandSent = 1;
    session.awaitingReply = 1;
    session.replyOk = 0;
    session.bytesSent = 0;
}

// HELO, EHLO, STARTTLS, MAIL FROM, DATA, the end-of-data mark and QUIT. True once the
// command's reply has come with the code expected.
bool StepCommand(SmtpSession& session, const char* failText) {
    if (session.awaitingReply) {
        return false;
    }
    if (!session.commandSent) {
        session.newState = 0;
        if (session.bytesSent == 0) {
            const uint32_t stage = Stage(session);
            if (stage == SMTP_HELO || stage == SMTP_EHLO) {
                char hostName[kSmtpHostNameSize] = {};
                session.platform->GetLocalHostName(hostName, sizeof hostName);
                hostName[sizeof hostName - 1] = '\0';
                SetCommand(session, stage == SMTP_HELO ? "HELO " : "EHLO ", hostName);
                ClearSmtpExtensions(session.extensions);
            } else if (stage == SMTP_STARTTLS) {
                SetCommand(session, "STARTTLS", "");
            } else if (stage == SMTP_MAIL_FROM) {
                char sender[kSenderLength + 2];
                std::snprintf(sender, sizeof sender, "<%.*s>", kSenderLength - 1,
                              session.message->sender);
                SetCommand(session, "MAIL FROM: ", sender);
            } else if (stage == SMTP_DATA) {
                SetCommand(session, "DATA", "");
            } else if (stage == SMTP_END_DATA) {
                session.commandLength = static_cast<uint32_t>(
                    BuildEndOfData(session.commandBuffer, sizeof session.commandBuffer));
            } else {
                SetCommand(session, "QUIT", "");
            }
        }
        switch (
            SendRest(session, session.commandBuffer, session.commandLength, kWholeRest, false)) {
        case SendResult::Blocked:
            return false;
        case SendResult::Failed:
            Fail(session, failText, kSocketErrorCaption);
            return false;
        case SendResult::Done:
            SentCommand(session);
            return false;
        }
    }
    return session.replyOk != 0;
}

// RCPT TO for every address of one list, each waiting for its reply.
void StepRecipients(SmtpSession& session, const RecipientList& list, int used, uint32_t next) {
    if (!used) {
        GoToState(session, next);
        return;
    }
    if (session.awaitingReply) {
        return;
    }
    if (session.commandSent) {
        if (session.replyOk) {
            session.commandSent = 0;
            session.replyOk = 0;
            session.platform->PostWriteEvent();
        }
        return;
    }
    if (session.newState) {
        session.index = 0;
        session.newState = 0;
    }
    if (session.index >= static_cast<uint32_t>(kRecipientCount) ||
        list.entries[session.index][0] == '\0') {
        GoToState(session, next);
        return;
    }
    if (session.bytesSent == 0) {
        char address[kRecipientLength + 2];
        std::snprintf(address, sizeof address, "<%.*s>", kRecipientLength - 1,
                      list.entries[session.index]);
        SetCommand(session, "RCPT TO: ", address);
    }
    switch (SendRest(session, session.commandBuffer, session.commandLength, kWholeRest, false)) {
    case SendResult::Blocked:
        return;
    case SendResult::Failed:
        Fail(session, kWriteErrorRetry, kSocketErrorCaption); // the index stays on this address
        return;
    case SendResult::Done:
        SentCommand(session);
        ++session.index;
        return;
    }
}

// The Date and Message-ID of the header block, taken once.
void TakeDateAndMessageId(SmtpSession& session) {
    if (session.dateText[0] == '\0') {
        session.platform->GetDateText(session.dateText, sizeof session.dateText);
        session.dateText[sizeof session.dateText - 1] = '\0';
    }
    if (session.messageId[0] == '\0') {
        session.platform->GetMessageId(session.settings->mailFrom, session.messageId,
                                       sizeof session.messageId);
        session.messageId[sizeof session.messageId - 1] = '\0';
    }
}

// The header block, the text and HTML parts and the trailers: no reply is awaited.
void StepData(SmtpSession& session, uint32_t next) {
    const uint32_t stage = Stage(session);
    OutgoingMessage& message = *session.message;
    const bool withHtml = message.alternative && message.htmlReady;
    if (session.newState) {
        session.newState = 0;
        session.bytesSent = 0;
        session.dataLength = 0;
        session.dataBuffer[0] = '\0';
        if (stage == SMTP_HEADERS) {
            TakeDateAndMessageId(session);
            session.dataLength = static_cast<uint32_t>(
                BuildHeaderBlock(*session.settings, message, session.dateText, session.messageId,
                                 session.dataBuffer, sizeof session.dataBuffer));
        } else if (stage == SMTP_TEXT) {
            session.platform->ShowStatusText("Sending Message");
        } else if (stage == SMTP_TEXT_TRAILER) {
            CopyField(session.dataBuffer, sizeof session.dataBuffer, kPlainTrailerText);
            session.dataLength = static_cast<uint32_t>(std::strlen(session.dataBuffer));
        } else if (stage == SMTP_HTML_TRAILER && withHtml) {
            session.dataLength = static_cast<uint32_t>(
                BuildAlternativeEnd(session.dataBuffer, sizeof session.dataBuffer));
        }
    }
    const char* piece = session.dataBuffer;
    uint32_t length = session.dataLength;
    bool body = false;
    if (stage == SMTP_TEXT) {
        piece = message.textPart;
        length = message.textReady && piece != nullptr ? message.textLength : 0;
        body = true;
    } else if (stage == SMTP_HTML) {
        piece = message.htmlPart;
        length = withHtml && piece != nullptr ? message.htmlLength : 0;
        body = true;
    }
    switch (SendRest(session, piece, length, kSmtpSliceSize, body)) {
    case SendResult::Blocked:
        return;
    case SendResult::Failed:
        Fail(session, body ? nullptr : kWriteError, kSocketErrorCaption);
        return;
    case SendResult::Done:
        GoToState(session, next);
        return;
    }
}

// Reads the chunk of the current attachment at fileOffset. False when the file cannot be
// opened, positioned or read.
bool ReadAttachmentChunk(SmtpSession& session, const char* path, uint32_t* bytesRead) {
    if (session.fileOffset > 0x7FFFFFFFu) {
        return false;
    }
    ScopedFile file(path, "rb");
    if (!file) {
        return false;
    }
    bool ok = std::fseek(file.get(), static_cast<long>(session.fileOffset), SEEK_SET) == 0;
    size_t count = 0;
    if (ok) {
        count = std::fread(session.fileChunk, 1, kAttachmentChunkSize, file.get());
        ok = std::ferror(file.get()) == 0;
    }
    *bytesRead = static_cast<uint32_t>(count);
    return ok;
}

// Encodes the next blocks of the chunk, one after another, into the base64 buffer: up to
// kBase64BlocksPerPiece of them, and none past the end of the chunk (whose last block may be
// shorter, or empty when the chunk ended with a full block). A piece of many blocks costs the
// socket one send where a block each would cost as many.
void EncodeAttachmentBlocks(SmtpSession& session) {
    session.base64Length = 0;
    for (uint32_t count = 0; count < kBase64BlocksPerPiece && session.chunkLeft >= 0; ++count) {
        const uint32_t block = session.chunkLeft < static_cast<int32_t>(kBase64BlockSize)
                                   ? static_cast<uint32_t>(session.chunkLeft)
                                   : kBase64BlockSize;
        uint32_t written = 0;
        EncodeBase64Block(session.fileChunk + session.chunkPosition, block,
                          session.base64Buffer + session.base64Length,
                          sizeof session.base64Buffer - session.base64Length, &written);
        session.base64Length += written;
        session.chunkLeft -= static_cast<int32_t>(kBase64BlockSize);
        session.chunkPosition += kBase64BlockSize;
    }
    session.needEncode = 0;
}

// Every attachment: its sub-header block, then its content in base64, read from disk a chunk
// at a time and encoded a block at a time.
void StepAttachments(SmtpSession& session) {
    OutgoingMessage& message = *session.message;
    if (session.newState) {
        session.newState = 0;
        session.bytesSent = 0;
        session.index = 0;
        session.fileOffset = 0;
        session.chunkLeft = 0;
        session.attachmentHeaderPhase = 1;
        session.needRead = 1;
        session.lastChunk = 0;
    }
    const uint32_t count =
        message.attachmentCount > 0 ? static_cast<uint32_t>(message.attachmentCount) : 0;
    while (session.index < count && session.index < static_cast<uint32_t>(kMaxAttachments)) {
        const char* path = message.attachmentPaths[session.index];
        const char* piece;
        uint32_t length;
        if (session.attachmentHeaderPhase) {
            if (session.bytesSent == 0) {
                session.attachmentHeaderLength = static_cast<uint32_t>(BuildAttachmentHeader(
                    path, session.attachmentHeader, sizeof session.attachmentHeader));
            }
            piece = session.attachmentHeader;
            length = session.attachmentHeaderLength;
        } else {
            if (session.needRead) {
                uint32_t bytesRead = 0;
                if (!ReadAttachmentChunk(session, path, &bytesRead)) {
                    char text[kAttachmentPathLength + 64];
                    std::snprintf(text, sizeof text, "Couldn't find the attachment \"%s\"", path);
                    Fail(session, text, "File Attachment Error");
                    return;
                }
                session.chunkLeft = static_cast<int32_t>(bytesRead);
                session.lastChunk = bytesRead < kAttachmentChunkSize;
                session.fileOffset += bytesRead;
                session.chunkPosition = 0;
                session.needRead = 0;
                session.needEncode = 1;
            }
            if (session.needEncode) {
                EncodeAttachmentBlocks(session);
            }
            piece = session.base64Buffer;
            length = session.base64Length;
        }
        switch (SendRest(session, piece, length, kWholeRest, true)) {
        case SendResult::Blocked:
            return;
        case SendResult::Failed:
            Fail(session, nullptr, nullptr);
            return;
        case SendResult::Done:
            break;
        }
        if (session.attachmentHeaderPhase) {
            session.attachmentHeaderPhase = 0;
            session.needRead = 1;
        } else {
            session.needEncode = 1;
            if (session.chunkLeft < 0) {
                if (!session.lastChunk) {
                    session.needRead = 1;
                } else {
                    session.lastChunk = 0;
                    session.attachmentHeaderPhase = 1;
                    session.fileOffset = 0;
                    ++session.index;
                }
            }
        }
        session.bytesSent = 0;
        PaintSendProgress(session);
    }
    GoToState(session, SMTP_END_DATA);
}

// The size of the message as it will go out after DATA (without the end-of-data mark).
uint64_t MessageSize(SmtpSession& session) {
    TakeDateAndMessageId(session);
    const size_t header =
        BuildHeaderBlock(*session.settings, *session.message, session.dateText, session.messageId,
                         session.dataBuffer, sizeof session.dataBuffer);
    return header + MessageSizeAfterHeaders(*session.message, session.attachmentHeader,
                                            sizeof session.attachmentHeader);
}

void RefuseTooLarge(SmtpSession& session, uint64_t size, uint64_t limit) {
    const long long most = 0x7FFFFFFFFFFFFFFFLL;
    char sizeText[kSizeTextLength];
    char limitText[kSizeTextLength];
    FormatFileSize(size > static_cast<uint64_t>(most) ? most : static_cast<long long>(size),
                   sizeText);
    FormatFileSize(limit > static_cast<uint64_t>(most) ? most : static_cast<long long>(limit),
                   limitText);
    char text[kSmtpMessageSize];
    std::snprintf(text, sizeof text,
                  "The message is %s, but the server %.255s takes messages of at most %s.\n"
                  "The message was not sent: remove or shrink an attachment and send it again.",
                  sizeText, session.settings->serverName, limitText);
    Refuse(session, text, "Message too large");
}

// After the reply to EHLO (or to HELO in its place): secure the connection, check the size,
// log in, or go on to MAIL FROM, whichever comes first; or refuse what cannot be done safely.
void ContinueAfterGreeting(SmtpSession& session) {
    const ProgramSettings& settings = *session.settings;
    const SmtpExtensions& offered = session.extensions;
    const char* server = settings.serverName;
    char text[kSmtpMessageSize];
    if (settings.smtpSecurity == kSmtpSecurityStartTls && !session.tlsActive) {
        if (!offered.startTls) {
            std::snprintf(text, sizeof text,
                          "The server %.255s does not offer STARTTLS, so the connection cannot be "
                          "secured.\nThe message was not sent. Check the connection security and "
                          "the port in E-mail Settings.",
                          server);
            Refuse(session, text, kSecurityCaption);
            return;
        }
        GoToState(session, SMTP_STARTTLS);
        return;
    }
    if (offered.sizeLimit > 0) {
        const uint64_t size = MessageSize(session);
        if (size > offered.sizeLimit) {
            RefuseTooLarge(session, size, offered.sizeLimit);
            return;
        }
    }
    if (settings.smtpUser[0] != '\0') {
        if (!session.tlsActive && !IsLoopbackHost(session.serverAddress)) {
            std::snprintf(text, sizeof text,
                          "The connection to %.255s is not encrypted, so the user name and "
                          "password are not sent over it.\nThe message was not sent. Choose "
                          "STARTTLS or TLS as the connection security in E-mail Settings.",
                          server);
            Refuse(session, text, kSecurityCaption);
            return;
        }
        session.authMechanism = ChooseAuthMechanism(offered);
        if (session.authMechanism == SmtpAuthMechanism::None) {
            std::snprintf(text, sizeof text,
                          offered.authOffered
                              ? "The server %.255s offers no login that Kestro knows (PLAIN or "
                                "LOGIN).\nThe message was not sent."
                              : "The server %.255s does not offer a login (AUTH).\nThe message "
                                "was not sent. To send without one, clear the user name in "
                                "E-mail Settings.",
                          server);
            Refuse(session, text, kLoginCaption);
            return;
        }
        GoToState(session, SMTP_AUTH);
        return;
    }
    GoToState(session, SMTP_MAIL_FROM);
}

void StartHandshake(SmtpSession& session) {
    GoToState(session, SMTP_TLS_HANDSHAKE);
    session.platform->ShowStatusText("Securing the connection");
    session.platform->StartTls();
}

// The TLS handshake, moved on by every notification until the connection is secure.
void StepHandshake(SmtpSession& session) {
    char failure[kTlsFailureSize + kNameLength];
    switch (session.platform->ContinueTls(failure, sizeof failure)) {
    case TlsStep::Pending:
        return;
    case TlsStep::Failed: {
        failure[sizeof failure - 1] = '\0';
        char text[kSmtpMessageSize];
        std::snprintf(text, sizeof text,
                      "The connection to %.255s could not be secured.\n%s\nThe message was not "
                      "sent.",
                      session.settings->serverName, failure);
        FailWith(session, text, kSecurityCaption);
        return;
    }
    case TlsStep::Done:
        break;
    }
    session.tlsActive = 1;
    ClearSmtpExtensions(session.extensions);
    if (session.greeted) {
        GoToState(session, SMTP_EHLO); // the extensions are asked for again, over TLS
        return;
    }
    // TLS from the start: now the greeting comes, over the secure connection.
    session.sendState = SMTP_GREETING;
    session.newState = 1;
    session.commandSent = 0;
    session.replyOk = 0;
    session.awaitingReply = 1;
    session.platform->ShowStatusText("Connected, Awaiting Reply");
}

// The next line of the login into the command buffer. False (the session has failed) when
// the password cannot be read or a line cannot be built.
bool BuildAuthLine(SmtpSession& session) {
    const char* user = session.settings->smtpUser;
    char* out = session.commandBuffer;
    const size_t outSize = sizeof session.commandBuffer;
    const bool plain = session.authMechanism == SmtpAuthMechanism::Plain;
    size_t length = 0;
    if (!plain && session.authStep == 0) {
        length = BuildAuthLoginLine(out, outSize);
    } else if (!plain && session.authStep == 1) {
        length = BuildAuthLoginStep(user, out, outSize);
    } else {
        char password[kNameLength];
        if (!session.platform->GetPassword(password, sizeof password)) {
            WipeSecret(password, sizeof password);
            FailWith(session, kPasswordUnreadable, kLoginCaption);
            return false;
        }
        password[sizeof password - 1] = '\0';
        length = plain ? BuildAuthPlainLine(user, password, out, outSize)
                       : BuildAuthLoginStep(password, out, outSize);
        WipeSecret(password, sizeof password);
    }
    if (length == 0) {
        FailWith(session, kLoginTooLong, kLoginCaption);
        return false;
    }
    session.commandLength = static_cast<uint32_t>(length);
    return true;
}

// AUTH PLAIN, or AUTH LOGIN with the user name and the password after the server's 334s.
// The password leaves the command buffer as soon as it has been sent.
void StepAuth(SmtpSession& session) {
    if (session.awaitingReply) {
        return;
    }
    if (session.replyOk) {
        GoToState(session, SMTP_MAIL_FROM);
        return;
    }
    if (session.commandSent) {
        return;
    }
    session.newState = 0;
    if (session.bytesSent == 0 && !BuildAuthLine(session)) {
        return;
    }
    const SendResult result =
        SendRest(session, session.commandBuffer, session.commandLength, kWholeRest, false);
    if (result == SendResult::Blocked) {
        return;
    }
    WipeSecret(session.commandBuffer, sizeof session.commandBuffer);
    if (result == SendResult::Failed) {
        Fail(session, kWriteErrorRetry, kSocketErrorCaption);
        return;
    }
    SentCommand(session);
}

void StepWrite(SmtpSession& session) {
    OutgoingMessage& message = *session.message;
    switch (Stage(session)) {
    case SMTP_GREETING:
        if (session.replyOk) {
            session.greeted = 1;
            GoToState(session, SmtpNeedsExtensions(*session.settings) ? SMTP_EHLO : SMTP_HELO);
        }
        return;
    case SMTP_HELO:
        if (StepCommand(session, kWriteErrorRetry)) {
            if (session.heloFallback) {
                ContinueAfterGreeting(session);
            } else {
                GoToState(session, SMTP_MAIL_FROM);
            }
        }
        return;
    case SMTP_EHLO:
        if (StepCommand(session, kWriteErrorRetry)) {
            ContinueAfterGreeting(session);
        }
        return;
    case SMTP_STARTTLS:
        if (StepCommand(session, kWriteErrorRetry)) {
            StartHandshake(session);
        }
        return;
    case SMTP_TLS_HANDSHAKE:
        StepHandshake(session);
        return;
    case SMTP_AUTH:
        StepAuth(session);
        return;
    case SMTP_MAIL_FROM:
        if (StepCommand(session, kWriteErrorRetry)) {
            GoToState(session, SMTP_RCPT_TO);
        }
        return;
    case SMTP_RCPT_TO:
        StepRecipients(session, message.to, 1, SMTP_RCPT_CC);
        return;
    case SMTP_RCPT_CC:
        StepRecipients(session, message.cc, message.hasCc, SMTP_RCPT_BCC);
        return;
    case SMTP_RCPT_BCC:
        StepRecipients(session, message.bcc, message.hasBcc, SMTP_DATA);
        return;
    case SMTP_DATA:
        if (StepCommand(session, kWriteError)) {
            GoToState(session, SMTP_HEADERS);
        }
        return;
    case SMTP_HEADERS:
        StepData(session, SMTP_TEXT);
        return;
    case SMTP_TEXT:
        StepData(session, SMTP_TEXT_TRAILER);
        return;
    case SMTP_TEXT_TRAILER:
        StepData(session, SMTP_HTML);
        return;
    case SMTP_HTML:
        StepData(session, SMTP_HTML_TRAILER);
        return;
    case SMTP_HTML_TRAILER:
        StepData(session, SMTP_ATTACHMENTS);
        return;
    case SMTP_ATTACHMENTS:
        StepAttachments(session);
        return;
    case SMTP_END_DATA:
        if (StepCommand(session, nullptr)) {
            GoToState(session, SMTP_QUIT);
        }
        return;
    case SMTP_QUIT:
        if (StepCommand(session, nullptr)) {
            GoToState(session, SMTP_IDLE);
        }
        return;
    default:
        return; // idle, resolving, or failed
    }
}

int ExpectedReplyCode(uint32_t stage) {
    switch (stage) {
    case SMTP_GREETING:
    case SMTP_STARTTLS:
        return 220;
    case SMTP_DATA:
        return 354;
    case SMTP_QUIT:
        return 221;
    default:
        return 250;
    }
}

// A reply in SMTP_AUTH: 334 asks for the next step of AUTH LOGIN, 235 ends the login; anything
// else is a refused login.
void HandleAuthReply(SmtpSession& session) {
    if (!session.awaitingReply) {
        return;
    }
    const int code = session.reply.code;
    const bool lastStep =
        session.authMechanism == SmtpAuthMechanism::Plain || session.authStep == 2;
    session.awaitingReply = 0;
    if (code == 235 && lastStep) {
        session.replyOk = 1;
    } else if (code == 334 && !lastStep) {
        session.commandSent = 0;
        ++session.authStep;
    } else {
        char text[kSmtpMessageSize];
        std::snprintf(text, sizeof text, "%s\n%s", session.reply.text, kCheckLogin);
        FailWith(session, text, kLoginCaption);
        return;
    }
    session.platform->PostWriteEvent();
}

void HandleReply(SmtpSession& session) {
    const uint32_t stage = Stage(session);
    if (session.refused) {
        // The session refused the send: whatever the server answers to QUIT ends it.
        if (stage == SMTP_QUIT && session.awaitingReply) {
            MarkSendFailed(session.sendState);
        }
        return;
    }
    const int code = session.reply.code;
    if (stage == SMTP_EHLO && session.awaitingReply && (code == 500 || code == 502)) {
        session.heloFallback = 1; // a server of old: HELO, and no extensions
        ClearSmtpExtensions(session.extensions);
        GoToState(session, SMTP_HELO);
        return;
    }
    if (stage == SMTP_AUTH) {
        HandleAuthReply(session);
        return;
    }
    if (session.reply.code != ExpectedReplyCode(stage)) {
        Fail(session, session.reply.text, "SMTP error");
        return;
    }
    // A reply nobody waits for (a stray 250 while the data is sent) changes nothing.
    if (session.awaitingReply) {
        // The message is delivered from here on, even if the server closes before QUIT.
        if (Stage(session) == SMTP_END_DATA) {
            session.messageAccepted = 1;
        }
        session.awaitingReply = 0;
        session.replyOk = 1;
        session.platform->PostWriteEvent();
    }
}

void OnRead(SmtpSession& session) {
    char received[kSmtpReceiveSize];
    const int count = session.platform->Receive(received, sizeof received);
    if (count == kSmtpWouldBlock || count == 0) {
        return;
    }
    if (count < 0 || count > kSmtpReceiveSize) {
        Fail(session, nullptr, nullptr);
        return;
    }
    size_t position = 0;
    while (position < static_cast<size_t>(count) && !Failed(session)) {
        position += FeedSmtpReply(session.reply, received + position,
                                  static_cast<size_t>(count) - position);
        if (session.reply.lineEnded && Stage(session) == SMTP_EHLO && session.awaitingReply) {
            ReadEhloLine(session.extensions, session.reply.line, session.reply.lineKept,
                         session.reply.lineNumber);
        }
        if (session.reply.complete) {
            const uint32_t stage = Stage(session);
            HandleReply(session);
            StartSmtpReply(session.reply);
            // Nothing the server sent after its go-ahead for TLS may pass for a reply that
            // came over the secure connection: the rest of this read is dropped.
            if (stage == SMTP_STARTTLS && session.replyOk) {
                break;
            }
        }
    }
}

void OnConnect(SmtpSession& session, int error) {
    if (error != 0) {
        char text[kNameLength + 96];
        FormatConnectFailedMessage(session.settings->serverName, text, sizeof text);
        session.platform->ShowMessage(text, "Kestro", SmtpMessageIcon::Exclamation);
        MarkSendFailed(session.sendState);
        return;
    }
    // Everything but the bindings and the state starts from zero.
    SmtpPlatform* platform = session.platform;
    OutgoingMessage* message = session.message;
    const ProgramSettings* settings = session.settings;
    const uint32_t state = session.sendState;
    char serverAddress[kSmtpAddressSize];
    std::memcpy(serverAddress, session.serverAddress, sizeof serverAddress);
    std::memset(&session, 0, sizeof session);
    session.platform = platform;
    session.message = message;
    session.settings = settings;
    session.sendState = state;
    std::memcpy(session.serverAddress, serverAddress, sizeof serverAddress);
    session.open = 1;
    session.newState = 1;
    session.needRead = 1;
    session.needEncode = 1;
    session.attachmentHeaderPhase = 1;
    session.platform->ShowStatusText("Connected, Awaiting Reply");
    session.awaitingReply = 1;
    if (settings->smtpSecurity == kSmtpSecurityTls) {
        session.awaitingReply = 0; // the greeting comes after the handshake
        StartHandshake(session);
    }
}

void OnClose(SmtpSession& session) {
    EndSmtpSession(session);
    if (!Failed(session) && !session.message->cancelRequested && !session.refused) {
        if (session.messageAccepted) {
            session.platform->ShowMessageSent();
        } else {
            session.platform->ShowMessage(kEarlyClose, "SMTP error", SmtpMessageIcon::None);
        }
    }
    session.sendState = SMTP_IDLE;
}

} // namespace

void BeginSmtpSession(SmtpSession& session, SmtpPlatform& platform, OutgoingMessage& message,
                      const ProgramSettings& settings) {
    EndSmtpSession(session);
    std::memset(&session, 0, sizeof session);
    session.platform = &platform;
    session.message = &message;
    session.settings = &settings;
    session.open = 1;
    session.sendState = SMTP_RESOLVING;
}

void MarkSmtpConnecting(SmtpSession& session, const char* serverAddress) {
    CopyField(session.serverAddress, sizeof session.serverAddress, serverAddress);
    session.sendState = SMTP_GREETING;
}

uint32_t HandleSmtpEvent(SmtpSession& session, int event, int error) {
    // Notifications that arrive after the session ended (a write posted before a failure, or
    // the socket's last events) find it closed or idle and change nothing.
    if (!session.open || Failed(session)) {
        return session.sendState;
    }
    switch (event) {
    case kSmtpEventConnect:
        if (Stage(session) == SMTP_GREETING) {
            OnConnect(session, error);
        }
        break;
    case kSmtpEventRead:
        if (Stage(session) == SMTP_TLS_HANDSHAKE) {
            StepHandshake(session);
        } else if (SendIsConnected(session.sendState)) {
            OnRead(session);
        }
        break;
    case kSmtpEventWrite:
        StepWrite(session);
        break;
    case kSmtpEventClose:
        OnClose(session);
        break;
    default:
        break;
    }
    PaintSendProgress(session);
    return session.sendState;
}

void EndSmtpSession(SmtpSession& session) {
    if (session.open && session.platform != nullptr) {
        session.platform->Close();
    }
    session.open = 0;
}

bool EndFailedSmtpSession(SmtpSession& session) {
    if (!Failed(session)) {
        return false;
    }
    EndSmtpSession(session);
    session.sendState = SMTP_IDLE;
    return true;
}

bool CancelSmtpSend(SmtpSession& session) {
    if (!SendCanBeCancelled(session.sendState)) {
        return false;
    }
    session.message->cancelRequested = 1;
    EndSmtpSession(session);
    session.sendState = SMTP_IDLE;
    session.platform->ShowStatusText("Canceled Send");
    return true;
}

int SmtpProgressPercent(uint32_t state, int previous, uint32_t bodyBytesSent,
                        const OutgoingMessage& message) {
    switch (state) {
    case SMTP_IDLE:
        return 0;
    case SMTP_HELO:
    case SMTP_EHLO:
        return 4;
    case SMTP_MAIL_FROM:
        return 6;
    case SMTP_RCPT_TO:
        return 8;
    case SMTP_RCPT_CC:
        return 10;
    case SMTP_RCPT_BCC:
        return 12;
    case SMTP_HEADERS:
        return 14;
    case SMTP_TEXT:
    case SMTP_HTML:
    case SMTP_ATTACHMENTS: {
        uint64_t estimate = 0;
        if (message.textReady) {
            estimate += message.textLength;
        }
        if (message.htmlReady) {
            estimate += message.htmlLength;
        }
        if (message.attachmentCount != 0) {
            estimate += message.attachmentBytes;
        }
        // 1.4 allows for the growth of base64.
        uint64_t scaled = estimate * 14 / 10;
        if (scaled < 1) {
            scaled = 1;
        }
        const uint64_t percent = 14 + static_cast<uint64_t>(bodyBytesSent) * 76 / scaled;
        // The estimate is rough: the bar stays within its rectangle and short of the end.
        return percent > 99 ? 99 : static_cast<int>(percent);
    }
    case SMTP_QUIT:
        return 100;
    default:
        return previous;
    }
}

void PaintSendProgress(SmtpSession& session) {
    if (session.platform == nullptr || session.message == nullptr) {
        return;
    }
    const int percent = session.refused // a refused send does not fill the bar on its way out
                            ? session.progress
                            : SmtpProgressPercent(session.sendState, session.progress,
                                                  session.bodyBytesSent, *session.message);
    const bool clearBar = SendIsIdle(session.sendState);
    // A send step takes far less than a repaint of the bar: paint only what changes.
    if (percent == session.progress && session.progressPainted && !clearBar) {
        return;
    }
    session.progress = percent;
    session.progressPainted = 1;
    session.platform->PaintProgress(session.progress, clearBar);
}

void FormatConnectFailedMessage(const char* serverName, char* out, size_t outSize) {
    if (outSize == 0) {
        return;
    }
    std::snprintf(out, outSize,
                  "  A connection to the SMTP server  \n %s\n could not be established",
                  serverName);
}
