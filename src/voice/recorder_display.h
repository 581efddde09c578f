// The texts of the voice recorder's display: the status word and its colour, the time and the
// estimated size of the voice file, and how the bar is to be drawn.
#pragma once

#include <cstdint>

#include "print/size_texts.h"
#include "voice/recorder_engine.h"

inline constexpr char kTimeLabel[] = "TIME: ";
inline constexpr char kSizeLabel[] = "SIZE: ";

// Colours as 0x00BBGGRR.
constexpr uint32_t kDisplayGray = 0x808080;
constexpr uint32_t kDisplayLightGray = 0xC0C0C0;
constexpr uint32_t kDisplayWhite = 0xFFFFFF;
constexpr uint32_t kDisplayBlack = 0x000000;
constexpr uint32_t kDisplayGreen = 0x00FF00;
constexpr uint32_t kDisplayDarkRed = 0x000080;
constexpr uint32_t kDisplayRed = 0x0000FF;

struct RecorderDisplayTexts {
    const char* status; // "PLAYING", "RECORDING" or "STOPPED"
    uint32_t statusColour;
    char time[kSizeTextLength];
    char size[kSizeTextLength + 8];
};

// What the display shows for the engine's state and display values. bytesPerSecond is the
// capture format's nAvgBytesPerSec (0 when there is none); the size is estimated for the voice
// encoder (audioSelection, mp3Quality) from the recorded bytes: the position while recording,
// else the recording's length, also while it plays back.
RecorderDisplayTexts BuildDisplayTexts(uint32_t state, const RecorderDisplay& display,
                                       uint32_t bytesPerSecond, int audioSelection, int mp3Quality);

// The bytes the time is shown for: the position while recording or playing, else the stopped
// length.
uint32_t DisplayedBytes(uint32_t state, const RecorderDisplay& display);

// The size the voice file will have: a fifth for GSM, an eighth (16 kHz) or a sixteenth (8 kHz)
// for MP3, the recorded bytes otherwise.
uint32_t EstimatedVoiceFileSize(uint32_t bytes, int audioSelection, int mp3Quality);

enum class BarLook {
    Empty,    // the whole bar light gray
    Progress, // black from the left end to the playing position, light gray after it
    Meter,    // left to the level meter
};
// meterAvailable: the level meter found a microphone line to read; without one the bar stays
// empty while recording.
BarLook RecorderBarLook(uint32_t state, const RecorderDisplay& display, bool meterAvailable);
