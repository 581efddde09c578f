// The address book dialog (AddressBookBox).
#pragma once

#include <windows.h>

void OpenAddressBook(HWND owner);
