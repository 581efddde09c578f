// The program settings record: what Kestro.ini holds, kept in memory while the program runs.
#pragma once

#include "base/text_fields.h"

constexpr int kNameLength = 256;  // names and addresses: 255 characters and the terminator
constexpr int kPathLength = 1024; // paths: 1023 characters and the terminator
// The SMTP password as the Data Protection API returns it for the current user, in hex: room
// for the protected form of a 255-character password with some to spare.
constexpr int kProtectedPasswordLength = 2048;

// How the connection to the SMTP server is secured (SMTPSECURITY).
constexpr int kSmtpSecurityNone = 0;     // plain TCP, as servers on port 25 take it
constexpr int kSmtpSecurityStartTls = 1; // plain at first, then TLS after STARTTLS (port 587)
constexpr int kSmtpSecurityTls = 2;      // TLS from the first byte (port 465)

struct ProgramSettings {
    int useMapi;
    char userName[kNameLength];
    char mailFrom[kNameLength];
    char replyTo[kNameLength];
    char serverName[kNameLength];
    int smtpPort;
    int x;
    int y;
    int width;
    int height;
    char attachDir[kPathLength];
    int videoIndex;
    int alwaysClose;
    int alwaysSave;
    int alwaysClear;
    int alwaysAddressMapi;
    int smtpSecurity;                            // one of kSmtpSecurity...
    char smtpUser[kNameLength];                  // the login; empty: no AUTH
    char smtpPassword[kProtectedPasswordLength]; // protected, in hex; never the password itself
    // The ad banner: where it asks for the current ad, and whether it may ask at all.
    char adLocation1[kPathLength];
    char adLocation2[kPathLength];
    int adBanner;
};
