// The one SMTP session of the program, its state word and the message snapshot it sends. Every
// part of the program reads the session's state word through sendState and asks it the
// questions of mail/send_state.h.
#pragma once

#include <cstdint>

#include "mail/outgoing_message.h"
#include "mail/smtp_session.h"

extern SmtpSession smtpSession;

// The session's state word (smtpSession.sendState): 0 is idle, the error bits are 0xFF000000.
extern uint32_t& sendState;

// The snapshot taken for sending and saving; its cancelRequested flag is set by Cancel.
extern OutgoingMessage outgoingMessage;

// Clears alreadySent and the cancel request and frees the send buffers. While a session is
// running the snapshot it sends is left alone.
void ResetSendingState();

// Ends the session's connection (shutdown for sending, socket closed, Winsock released) if it
// is open. The state word is left to the caller.
void CloseSmtpConnection();
