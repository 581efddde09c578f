// The service extensions a server names in its reply to EHLO, one a line after the first line
// (which greets): "250-STARTTLS", "250-AUTH PLAIN LOGIN" (or the older "AUTH=LOGIN"),
// "250 SIZE 35882577". Keywords and mechanisms are read in any case; anything else is ignored.
#pragma once

#include <cstddef>
#include <cstdint>

struct SmtpExtensions {
    int startTls;
    int authOffered; // AUTH with any mechanism
    int authPlain;
    int authLogin;
    uint64_t sizeLimit; // the largest message the server takes; 0: no limit declared
};

void ClearSmtpExtensions(SmtpExtensions& extensions);

// Reads one line of an EHLO reply, without its line end; lineNumber counts the reply's lines
// from 0, and line 0 names the server rather than an extension.
void ReadEhloLine(SmtpExtensions& extensions, const char* line, size_t length, int lineNumber);

enum class SmtpAuthMechanism { None, Plain, Login };

// The mechanism a login uses: PLAIN when offered, else LOGIN, else none.
SmtpAuthMechanism ChooseAuthMechanism(const SmtpExtensions& extensions);
