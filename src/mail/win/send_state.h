// The SMTP client's state word and flags, read by the commands that must not run during a send.
#pragma once

// 0 is idle; the error bits are 0xFF000000.
extern unsigned sendState;
// Set by Cancel; the session stops at its next step.
extern int cancelRequest;

// After a finished send the state word holds only the error bits.
constexpr unsigned kSendStateFinished = 0xFF000000u;

// Cancel request and alreadySent cleared, send buffers freed.
void ResetSendingState();

// Ends the SMTP connection: no more sending on the socket, Winsock released.
void CloseSmtpConnection();
