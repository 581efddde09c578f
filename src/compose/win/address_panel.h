// The address panel: the sender line and the To, CC, BCC and Subject fields.
#pragma once

#include <windows.h>

constexpr const char* kAddressPanelClass = "MAILFIELD_CLASS";

LRESULT CALLBACK AddressPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the To, CC, BCC and Subject edits the Tab-key procedure.
void SubclassAddressEditsForTab();
