// The SMTP password as Kestro.ini keeps it: protected with the Data Protection API for the
// current user (only this user on this machine can read it back) and written as hex digits.
#pragma once

#include <cstddef>

// Protects password into hex (an empty password gives an empty text). False, with hex
// emptied, when the system refuses or the result does not fit.
bool ProtectPassword(const char* password, char* hex, size_t hexSize);

// Reads a password protected by ProtectPassword back into password (an empty text gives an
// empty password). False, with password emptied, when the text is not one this user protected
// or the password does not fit.
bool UnprotectPassword(const char* hex, char* password, size_t size);
