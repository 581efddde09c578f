// The SMTP client's state word, sendState: its stage values and every question the program asks
// of it. The word keeps its stated values (the low 24 bits hold the stage, the error bits are
// OR-ed in when the session fails), but no other file tests its bits or compares it by number:
// they ask the functions below.
#pragma once

#include <cstdint>

// Stage values. Bit 3 is set in every stage from SMTP_HELO to SMTP_QUIT (and in the stages of
// EHLO, STARTTLS, the TLS handshake and AUTH); sendState AND kSmtpConnectedMask is non-zero in
// every stage from SMTP_GREETING on.
constexpr uint32_t SMTP_IDLE = 0;
constexpr uint32_t SMTP_RESOLVING = 1;
constexpr uint32_t SMTP_GREETING = 4;
constexpr uint32_t SMTP_HELO = 0x18;
constexpr uint32_t SMTP_MAIL_FROM = 0x28;
constexpr uint32_t SMTP_RCPT_TO = 0x48;
constexpr uint32_t SMTP_RCPT_CC = 0x88;
constexpr uint32_t SMTP_RCPT_BCC = 0x108;
constexpr uint32_t SMTP_DATA = 0x208;
constexpr uint32_t SMTP_HEADERS = 0x1408;
constexpr uint32_t SMTP_TEXT = 0x2408;
constexpr uint32_t SMTP_TEXT_TRAILER = 0x4408;
constexpr uint32_t SMTP_HTML = 0x8408;
constexpr uint32_t SMTP_HTML_TRAILER = 0x10408;
constexpr uint32_t SMTP_ATTACHMENTS = 0x20408;
constexpr uint32_t SMTP_END_DATA = 0x40408;
constexpr uint32_t SMTP_QUIT = 0x80008;
// The stages of a session that secures its connection or logs in carry bit 11 (0x800) besides
// bit 3; like the others they lie below SMTP_END_DATA, so a cancel acts in them.
constexpr uint32_t SMTP_EHLO = 0x818;          // EHLO, and the server's extensions
constexpr uint32_t SMTP_STARTTLS = 0x828;      // STARTTLS, answered by 220
constexpr uint32_t SMTP_TLS_HANDSHAKE = 0x838; // the TLS handshake and the certificate check
constexpr uint32_t SMTP_AUTH = 0x848;          // AUTH PLAIN, or AUTH LOGIN and its two steps

constexpr uint32_t kSmtpErrorBits = 0xFF000000u; // OR-ed into sendState when the session fails
constexpr uint32_t kSmtpConnectedMask = 0x0C;
constexpr uint32_t kSmtpGreetingAcceptedBit = 0x08;

// The error bits alone, with no stage left under them.
constexpr uint32_t kSendStateFinished = kSmtpErrorBits;

// No session: a send may start.
inline bool SendIsIdle(uint32_t sendState) {
    return sendState == SMTP_IDLE;
}

// The session waits for the host lookup of its server.
inline bool SendAwaitsHostLookup(uint32_t sendState) {
    return sendState == SMTP_RESOLVING;
}

// The session has failed; the main window ends it and returns the word to idle.
inline bool SendFailed(uint32_t sendState) {
    return (sendState & kSmtpErrorBits) != 0;
}

// The connection is being made or is open: every stage from SMTP_GREETING on.
inline bool SendIsConnected(uint32_t sendState) {
    return (sendState & kSmtpConnectedMask) != 0;
}

// The server's greeting was accepted: every stage from SMTP_HELO to SMTP_QUIT.
inline bool SendGreetingAccepted(uint32_t sendState) {
    return (sendState & kSmtpGreetingAcceptedBit) != 0;
}

// Voice and video recording wait while a connection is made or open.
inline bool SendBlocksRecording(uint32_t sendState) {
    return SendIsConnected(sendState);
}

// Cancel acts from the host lookup up to, not including, the end-of-data mark; the Cancel button
// shows its sending faces then.
inline bool SendCanBeCancelled(uint32_t sendState) {
    return sendState >= SMTP_RESOLVING && sendState < SMTP_END_DATA;
}

// Idle, or only failed: the logo stops turning.
inline bool SendHasEnded(uint32_t sendState) {
    return SendIsIdle(sendState) || SendFailed(sendState);
}

// A session exists that closing the program would cut off (a failure not yet ended counts).
inline bool SendIsInProgress(uint32_t sendState) {
    return !SendIsIdle(sendState) && sendState != kSendStateFinished;
}

// Sets the error bits: the session has failed at its current stage.
inline void MarkSendFailed(uint32_t& sendState) {
    sendState |= kSmtpErrorBits;
}
