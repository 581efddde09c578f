// The SMTP client: one TCP session that delivers the outgoing message. With no connection
// security and no login in the settings it is the plain session of old (HELO, MAIL FROM,
// RCPT TO, DATA, QUIT). Otherwise it greets with EHLO (HELO when the server answers 500 or
// 502) and reads the server's extensions; secures the connection with STARTTLS, or speaks TLS
// from the first byte; logs in with AUTH PLAIN or AUTH LOGIN; and checks the message against
// the server's SIZE before MAIL FROM. The session refuses, with a message that says why and
// before MAIL FROM, whatever the settings ask and the server cannot give safely.
//
// It is driven by socket notifications and advances one step per notification; every
// transition asks for a write notification of its own to take the next step. The platform
// layer (Winsock with window-message notification, and the TLS layer over it) binds it through
// SmtpPlatform and forwards each notification to HandleSmtpEvent. Once a session has failed or
// was cancelled it ignores further notifications; a host lookup result that arrives after a
// cancel is for the caller to drop (sendState is no longer SMTP_RESOLVING).
#pragma once

#include "mail/base64.h"
#include "mail/mime_builder.h"
#include "mail/send_state.h"
#include "mail/smtp_extensions.h"
#include "mail/smtp_reply.h"
#include "mail/tls_channel.h"

#include <cstddef>
#include <cstdint>

struct OutgoingMessage;
struct ProgramSettings;

// Socket notifications (the event in the low word of the notification's lParam).
constexpr int kSmtpEventRead = 0x01;
constexpr int kSmtpEventWrite = 0x02;
constexpr int kSmtpEventConnect = 0x10;
constexpr int kSmtpEventClose = 0x20;

// What SmtpPlatform::Send and Receive return instead of a count.
constexpr int kSmtpWouldBlock = -1;
constexpr int kSmtpSocketError = -2;

constexpr size_t kSmtpCommandSize = 1024;
constexpr size_t kSmtpDataBufferSize = kHeaderBlockSize; // header block, trailers, end of data
constexpr size_t kSmtpHostNameSize = 256;
constexpr uint32_t kAttachmentChunkSize = 131112; // a multiple of 3, like the base64 block
constexpr int kSmtpSliceSize = 1280; // the most one send call gets of a header or body piece
constexpr int kSmtpReceiveSize = 1024;
// Attachment blocks encoded into one piece, which goes to the socket whole: enough for a whole
// chunk, so that the socket gets one large send per chunk read.
constexpr uint32_t kBase64BlocksPerPiece =
    (kAttachmentChunkSize + kBase64BlockSize - 1) / kBase64BlockSize;
constexpr size_t kSmtpAddressSize = 16; // a dotted IPv4 address and its terminator

enum class SmtpMessageIcon { None, Exclamation };

// The session's view of the socket and of the main window.
struct SmtpPlatform {
    virtual ~SmtpPlatform() = default;
    // Sends up to length bytes: the count taken (1 to length), kSmtpWouldBlock when the socket
    // cannot take any now (a write notification follows when it can), or kSmtpSocketError.
    virtual int Send(const char* data, int length) = 0;
    // Receives up to size bytes: the count (0 when the server has closed), kSmtpWouldBlock or
    // kSmtpSocketError.
    virtual int Receive(char* buffer, int size) = 0;
    // Shuts the socket down for sending and releases the network library. Called once per
    // session, by EndSmtpSession.
    virtual void Close() = 0;
    virtual void GetLocalHostName(char* name, size_t size) = 0; // for HELO
    virtual void GetDateText(char* text, size_t size) = 0;      // usually FormatMailDate(now)
    // A Message-ID no other message carries, usually FormatMessageId(now, process, counter).
    virtual void GetMessageId(const char* sender, char* text, size_t size) = 0;
    // Posts a write notification (kSmtpEventWrite) to the session's window.
    virtual void PostWriteEvent() = 0;
    virtual void ShowStatusText(const char* text) = 0;
    virtual void ShowMessage(const char* text, const char* caption, SmtpMessageIcon icon) = 0;
    // Paints the progress bar at percent; clearBar first fills the whole bar with light grey.
    virtual void PaintProgress(int percent, bool clearBar) = 0;
    // Opens the Message Sent dialog (modal).
    virtual void ShowMessageSent() = 0;

    // Only a session that secures its connection or logs in calls the three below; a platform
    // without TLS or passwords keeps their refusals.
    //
    // Starts TLS on the connection: the handshake's first message goes out. The server is the
    // one the settings name, and its certificate must be for that name as typed.
    virtual void StartTls() {}
    // Moves the handshake on after a socket notification. Done once the connection is secure
    // and the server's certificate chains to a trusted root and names the server; Failed with
    // what was wrong written into failure.
    virtual TlsStep ContinueTls(char* failure, size_t failureSize) {
        if (failureSize > 0) {
            failure[0] = '\0';
        }
        return TlsStep::Failed;
    }
    // The password of the settings in clear, for the login; false when it cannot be read.
    virtual bool GetPassword(char* password, size_t size) {
        if (size > 0) {
            password[0] = '\0';
        }
        return false;
    }
};

// The one session of the program.
struct SmtpSession {
    uint32_t sendState;
    SmtpPlatform* platform;
    OutgoingMessage* message;
    const ProgramSettings* settings;
    int open;            // Close is still due
    int messageAccepted; // the server took the message (250 after the end-of-data mark)

    int commandSent;        // the current state's command has been sent completely
    int awaitingReply;      // a reply is expected before anything else is sent
    int replyOk;            // the awaited reply came with the expected code
    int newState;           // the first step in a state resets its counters and clears this
    uint32_t bytesSent;     // of the current piece
    uint32_t index;         // current recipient, or current attachment
    uint32_t bodyBytesSent; // of the text, HTML and attachment parts, for the progress bar
    int progress;           // percent shown
    int progressPainted;    // the bar shows progress (it is painted again only when that changes)

    char commandBuffer[kSmtpCommandSize];
    uint32_t commandLength;
    char dataBuffer[kSmtpDataBufferSize];
    uint32_t dataLength;

    char attachmentHeader[kAttachmentHeaderSize];
    uint32_t attachmentHeaderLength;
    unsigned char fileChunk[kAttachmentChunkSize + 1];
    char base64Buffer[kBase64BufferSize * kBase64BlocksPerPiece]; // the encoded blocks
    uint32_t base64Length;
    int attachmentHeaderPhase; // the next piece of the attachment is its sub-header block
    int needRead;              // read the next file chunk before encoding
    int needEncode;            // encode the next block of the chunk
    uint32_t fileOffset;       // where the next chunk is read from
    int32_t chunkLeft;         // bytes of the chunk not yet encoded; negative after the last block
    int lastChunk;             // the last read returned less than a full chunk
    uint32_t chunkPosition;    // offset in fileChunk of the next block

    SmtpReplyReader reply;

    char serverAddress[kSmtpAddressSize]; // the address connected to: a loopback one may log in
                                          // without TLS
    int tlsActive;    // the connection is encrypted (from the start, or after STARTTLS)
    int greeted;      // the server's greeting was accepted
    int heloFallback; // the server refused EHLO: HELO went instead, and its reply decides
    int refused;      // the session refused the send itself and is saying QUIT
    int authStep;     // AUTH LOGIN: 0 the command, 1 the user name, 2 the password
    SmtpAuthMechanism authMechanism;
    SmtpExtensions extensions; // of the last EHLO reply
    // Taken before MAIL FROM when the session checks the message's size, else with the header
    // block; the size check builds the header block with them.
    char dateText[kDateTextSize];
    char messageId[kMessageIdSize];
};

// Starts a session for the message (the network library has been started and the host lookup
// is under way): sendState becomes SMTP_RESOLVING. A session still open is ended first.
void BeginSmtpSession(SmtpSession& session, SmtpPlatform& platform, OutgoingMessage& message,
                      const ProgramSettings& settings);

// The connect has been issued (it succeeded or would block) to serverAddress, the dotted
// address of the server: sendState becomes SMTP_GREETING.
void MarkSmtpConnecting(SmtpSession& session, const char* serverAddress = "");

// Handles one socket notification; error is the notification's error word (only a failed
// connect is acted on). Returns sendState: with kSmtpErrorBits set the session has failed and
// the caller ends it with EndFailedSmtpSession.
uint32_t HandleSmtpEvent(SmtpSession& session, int event, int error);

// Calls SmtpPlatform::Close once for the session.
void EndSmtpSession(SmtpSession& session);

// After a notification: ends a session whose sendState has the error bits and returns it to
// SMTP_IDLE. True when it did.
bool EndFailedSmtpSession(SmtpSession& session);

// The cancel-send command: acts only while SendCanBeCancelled(sendState). Marks the message
// cancelled (no Message Sent dialog), ends the session, returns to SMTP_IDLE and shows
// "Canceled Send". True when it acted.
bool CancelSmtpSend(SmtpSession& session);

// The percent the progress bar shows in a state; states without their own value keep previous.
int SmtpProgressPercent(uint32_t state, int previous, uint32_t bodyBytesSent,
                        const OutgoingMessage& message);

// Updates the session's percent for its state and repaints the bar when the percent changed or
// the bar is to be cleared.
void PaintSendProgress(SmtpSession& session);

// "  A connection to the SMTP server  \n %s\n could not be established" with the server name.
void FormatConnectFailedMessage(const char* serverName, char* out, size_t outSize);
