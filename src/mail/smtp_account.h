// What sending needs to know of an account beyond its server and port: how the connection is
// secured, the user name and the protected password; and the ports that go with each security.
// The account book keeps an SmtpLogin for each of its accounts and applies it when an account
// is chosen; auto configuration applies the security a source declares.
#pragma once

#include "base/program_settings.h"

struct SmtpLogin {
    int security;                                     // one of kSmtpSecurity...
    char user[kNameLength];                           // empty: no login
    char protectedPassword[kProtectedPasswordLength]; // as SMTPPASSWORD holds it
};

// 25 with no security, 587 with STARTTLS, 465 with TLS from the start.
int DefaultSmtpPort(int security);

// The login of the settings, for the account book to keep with an account.
void TakeSmtpLogin(const ProgramSettings& settings, SmtpLogin& login);

// Makes an account's login the one the next send uses (a security the program does not know
// counts as none).
void ApplySmtpLogin(ProgramSettings& settings, const SmtpLogin& login);

// A security declared by another mail program's settings. When the source gave no port, the
// port becomes the security's default.
void ApplyDeclaredSmtpSecurity(ProgramSettings& settings, int security, bool portDeclared);

// The session greets with EHLO and reads the server's extensions only when the settings need
// them (a security or a login); otherwise it sends HELO and nothing else changes.
bool SmtpNeedsExtensions(const ProgramSettings& settings);
