// What the account book keeps of each account's login, beside accbook.ini (whose four-line
// records stay as they are): the file acclogin.ini, one line an account, CR LF,
//   address TAB server TAB port TAB security TAB user TAB protected password (hex)
// keyed by the address and the server, compared exactly. The password is the protected form
// that SMTPPASSWORD holds, never the password itself.
#pragma once

#include <string>

#include "base/program_settings.h"

// The file's text with the login of the settings' identity (MAILFROM and SERVERNAME) recorded:
// its line replaced, or added last. The text comes back unchanged when the identity lacks an
// address or a server, or a field holds a tab or a line end.
std::string RecordAccountLogin(const std::string& fileText, const ProgramSettings& settings);

// Gives the settings the login recorded for the account of that address and server: its port,
// security, user and protected password. An account with none recorded gets no security and
// no login (so that no password goes to a server it was not meant for); its port stays.
// True when a line was found. Lines that are not whole are ignored.
bool ApplyAccountLogin(const std::string& fileText, const char* address, const char* server,
                       ProgramSettings& settings);
