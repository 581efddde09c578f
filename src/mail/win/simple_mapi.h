// Sending and addressing through the Simple MAPI service of an installed mail program.
#pragma once

#include <windows.h>

void SendThroughMapi(HWND mainWindow);
void PickMapiRecipients(HWND mainWindow);
