// The account book dialog (ACCOUNTBOOKBOX) with its entry dialogs ACCOUNTADDBOX and
// ACCOUNTEDITBOX: the sender identities of accbook.ini, one of which OK makes the e-mail
// settings, or "use MAPI".
#pragma once

#include <windows.h>

#include "base/program_settings.h"

// Opens the dialog modally. The book lives in folder + "accbook.ini"; OK with a selected entry
// rewrites the settings' sender and USEMAPI, and posts command 1140 to fromEdit (the sender line)
// either way.
void OpenAccountBook(HWND owner, HWND fromEdit, const char* folder, ProgramSettings& settings);
