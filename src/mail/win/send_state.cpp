#include "mail/win/send_state.h"

#include "compose/current_message.h"

SmtpSession smtpSession;
uint32_t& sendState = smtpSession.sendState;
OutgoingMessage outgoingMessage;

void ResetSendingState() {
    alreadySent = 0;
    if (SendIsIdle(sendState)) {
        ResetOutgoingMessage(outgoingMessage);
    }
}

void CloseSmtpConnection() {
    EndSmtpSession(smtpSession);
}
