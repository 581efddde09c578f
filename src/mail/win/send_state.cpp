#include <winsock2.h>

#include "mail/win/send_state.h"

#include "compose/win/current_message.h"

unsigned sendState = 0;
int cancelRequest = 0;

void ResetSendingState() {
    cancelRequest = 0;
    alreadySent = 0;
}

void CloseSmtpConnection() {
    // The SMTP client's socket comes with its Win32 binding; Winsock is released here.
    WSACleanup();
}
