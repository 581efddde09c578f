#include "mail/win/send_flow.h"

// The send flow comes with the SMTP client's Win32 binding.
void SendCommand(HWND) {}
