// The address panel: the sender line and the To, CC, BCC and Subject fields.
#pragma once

#include <windows.h>

#include <string>

constexpr const char* kAddressPanelClass = "MAILFIELD_CLASS";

LRESULT CALLBACK AddressPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// The edit of the address panel with the given id (1070 From ... 1074 Subject), or null.
HWND AddressEdit(int id);

// The text of the To, CC, BCC or Subject edit, read with a buffer of bufferSize characters (so
// at most bufferSize - 1 of them); a placeholder is returned as it stands.
std::string AddressFieldText(int editId, int bufferSize);

// Gives the To, CC, BCC and Subject edits the Tab-key procedure.
void SubclassAddressEditsForTab();
