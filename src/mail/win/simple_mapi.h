// Sending and addressing through the Simple MAPI service of an installed mail program: the
// library "mapi32.dll" taken at start-up, the send (command 25000) and the mail program's
// address book (command 25001).
#pragma once

#include <windows.h>

// Loads "mapi32.dll" and takes MAPILogon, MAPILogoff, MAPISendMail, MAPIAddress (stopping at the
// first that is missing) and the buffer release at ordinal 17.
void LoadMapi();

// Clears the entries and frees the library.
void UnloadMapi();

// True when every entry was found and a mail program is registered as the system's mail client
// (the default value of Software\Clients\Mail under HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE),
// the program the system's Simple MAPI hands the message to.
bool SimpleMapiAvailable();

// Command 25000: hands the composed message to the mail program. After a send the Message Sent
// dialog opens; a failure other than the user's own cancel is reported; the composer keeps the
// message unless the send succeeded.
void MapiSendCommand(HWND mainWindow);

// Command 25001: opens the mail program's address book with the current recipients and writes
// the chosen ones back into the To, Cc and Bcc fields.
void MapiAddressCommand(HWND mainWindow);
