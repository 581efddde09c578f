// The command lines of a login. AUTH PLAIN carries everything in its first line: the base64 of
// a NUL, the user name, a NUL and the password. AUTH LOGIN takes two steps after the command:
// the user name, then the password, each in base64 on a line of its own, each after the
// server's 334. Every builder writes the line, its CR LF and a terminator into out and
// returns the length written; 0 (and "" when there is room for it) when the line does not fit.
// A user name or password longer than 255 characters is refused the same way.
#pragma once

#include <cstddef>

size_t BuildAuthPlainLine(const char* user, const char* password, char* out, size_t outSize);

// "AUTH LOGIN" and CR LF.
size_t BuildAuthLoginLine(char* out, size_t outSize);

// The user name or the password of an AUTH LOGIN step.
size_t BuildAuthLoginStep(const char* text, char* out, size_t outSize);
