// The program settings record: what Kestro.ini holds, kept in memory while the program runs.
#pragma once

#include "base/text_fields.h"

constexpr int kNameLength = 256;  // names and addresses: 255 characters and the terminator
constexpr int kPathLength = 1024; // paths: 1023 characters and the terminator

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
    // The ad banner: where it asks for the current ad, and whether it may ask at all.
    char adLocation1[kPathLength];
    char adLocation2[kPathLength];
    int adBanner;
};
