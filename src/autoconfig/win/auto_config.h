// Auto configuration: the sender's settings taken from other installed mail programs.
#pragma once

#include <windows.h>

#include "base/program_settings.h"
#include "autoconfig/account_candidates.h"
#include "autoconfig/apply_account.h"

// What auto configuration works on, handed in by the main window.
struct AutoConfigTarget {
    HINSTANCE instance;
    HWND mainWindow; // receives the importer commands and owns the dialogs
    HWND fromField;  // refreshes the sender line on WM_COMMAND 1140
    ProgramSettings* settings;
    DLGPROC emailSettingsProc; // the E-mail Settings dialog (EMAILSET)
};

// commandId is one of 10060 (detect) to 10065; with 10063, lParam 1 finds Communicator
// through the web browser's command instead of the mail handler's.
void RunAutoConfiguration(const AutoConfigTarget& target, int commandId, LPARAM lParam);

// Takes the account into the settings, refreshes the sender line and tells the user.
void ApplyAccount(const AutoConfigTarget& target, const AccountCandidate& account,
                  PortRule portRule);

// The AUTOCONFIG_BOX dialog: the user picks one of the candidates with an address. Returns 0
// after OK, 2 after Cancel.
INT_PTR ChooseAccount(const AutoConfigTarget& target, const CandidateTable& table);
