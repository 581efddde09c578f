// The address book dialog (ADDRESSBOOKBOX) with its entry dialogs ADDRESSBOX and EDITADDRESSBOX:
// the entries of addbook.ini, picked into the message's To, Cc and Bcc fields.
#pragma once

#include <windows.h>

// The message's recipient fields, which the dialog reads at opening and sets on OK.
struct RecipientFields {
    HWND to;
    HWND cc;
    HWND bcc;
};

// Opens the dialog modally over the main window. The book lives in folder + "addbook.ini";
// alwaysAddressMapi is the ALWAYS_ADDRESS_MAPI setting, which hands over to the mail program's
// address book (command 25001 posted to the main window) at once and is set again on OK.
void OpenAddressBook(HWND mainWindow, const RecipientFields& fields, const char* folder,
                     int& alwaysAddressMapi);
