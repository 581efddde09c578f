// The two custom encoder command lines ("custom 1" and "custom 2") and the slot that selects
// one, kept across runs in custom.ini beside plugin.ini: three KEY=value lines
//     CUSTOM_SLOT=0
//     CUSTOM1=enc.exe -in #i -out #u #x=.gsm
//     CUSTOM2=
// each ended by a line feed.
#pragma once

#include <cstdint>

#include "plugins/custom_encoder_line.h"

inline constexpr char kCustomEncoderFileName[] = "custom.ini";
constexpr int kCustomEncoderSlots = 2;

struct CustomEncoderLines {
    char lines[kCustomEncoderSlots][kCustomLineLength];
    int32_t slot; // 0 or 1
};

// Reads programDirectory + "custom.ini". A missing file gives two empty lines and slot 0 and
// the result 0; otherwise 1. A slot other than 0 or 1 reads as 0; a line longer than 1023
// characters is cut; other keys are ignored.
int ReadCustomEncoderLines(const char* programDirectory, CustomEncoderLines& lines);

// Writes the file, replacing it. 0 when it cannot be written.
int WriteCustomEncoderLines(const char* programDirectory, const CustomEncoderLines& lines);
