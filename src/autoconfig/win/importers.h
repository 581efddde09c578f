// The importers: each collects the accounts one mail program keeps into the candidate table.
// A missing or incomplete source adds nothing.
#pragma once

#include "autoconfig/account_candidates.h"

// Outlook Express and the Internet Account Manager (accounts 00 to 1f), Outlook of Office 8.0
// to 11.1 (OMI Account Manager) and Outlook of Office 12.0 to 16.0 (mail profiles).
void CollectOutlookAccounts(CandidateTable& table);

// Navigator's registry settings: one account when it has an address and a server.
void CollectNavigatorAccount(CandidateTable& table);

// Communicator's profiles in the USERS folder beside the program named by the mail handler's
// command (or by the web browser's command when useBrowserCommand is set).
void CollectCommunicatorAccounts(CandidateTable& table, bool useBrowserCommand);

// Eudora's eudora.ini in the folder of the program named by the mail handler's command: one
// account when it has an address and a server.
void CollectEudoraAccount(CandidateTable& table);

// Every identity of every Thunderbird profile listed by %APPDATA%\Thunderbird\profiles.ini.
void CollectThunderbirdAccounts(CandidateTable& table);
