// The Send command: checks, the choice of Simple MAPI or SMTP, and the start of the send.
#pragma once

#include <windows.h>

void SendCommand(HWND mainWindow);
