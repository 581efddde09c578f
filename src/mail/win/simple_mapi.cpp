#include "mail/win/simple_mapi.h"

// Simple MAPI comes with its own work; until then these commands do nothing.
void SendThroughMapi(HWND) {}
void PickMapiRecipients(HWND) {}
