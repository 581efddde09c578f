// The accounts found in other mail programs, in a table of at most 32 candidates.
#pragma once

#include "base/program_settings.h"

constexpr int kCandidateFieldSize = kNameLength; // the settings fields they are applied to
constexpr int kMaxCandidates = 32;

// The security the source declares for its SMTP connection; Unknown where it says nothing.
enum class ConnectionSecurity { Unknown, None, StartTls, Tls };

struct AccountCandidate {
    char address[kCandidateFieldSize]; // becomes MAILFROM
    char name[kCandidateFieldSize];    // becomes USERNAME
    char replyTo[kCandidateFieldSize]; // becomes REPLYTO
    char server[kCandidateFieldSize];  // becomes SERVERNAME
    int port;                          // the source's SMTP port; 0 when it names none
    ConnectionSecurity security;
};

struct CandidateTable {
    AccountCandidate slots[kMaxCandidates];
    int count;
};

// The four texts of one account as a source gives them (nullptr counts as empty).
struct AccountTexts {
    const char* address;
    const char* name;
    const char* replyTo;
    const char* server;
    int port;
    ConnectionSecurity security;
};

// Adds a candidate, each text cut to 255 characters. An account equal to one already in the
// table is not listed twice. False when the table is full (the account is not taken).
bool AddCandidate(CandidateTable& table, const AccountTexts& account);

// The SMTP port an applied account gets: the source's own, else 25.
int PortOrDefault(const AccountCandidate& candidate);
