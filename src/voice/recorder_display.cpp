#include "voice/recorder_display.h"

#include <cstdio>

#include "plugins/plugin_settings.h"

namespace {

// Playing a recording back does not change the file it will make.
uint32_t SizedBytes(uint32_t state, const RecorderDisplay& display) {
    return state == kRecorderRecording ? display.position : display.stoppedLength;
}

} // namespace

uint32_t DisplayedBytes(uint32_t state, const RecorderDisplay& display) {
    return state == kRecorderStopped ? display.stoppedLength : display.position;
}

uint32_t EstimatedVoiceFileSize(uint32_t bytes, int audioSelection, int mp3Quality) {
    if (audioSelection == kAudioGsm) {
        return bytes / 5;
    }
    if (audioSelection == kAudioMp3) {
        return mp3Quality == kMp3Quality8kHz ? bytes / 16 : bytes / 8;
    }
    return bytes;
}

RecorderDisplayTexts BuildDisplayTexts(uint32_t state, const RecorderDisplay& display,
                                       uint32_t bytesPerSecond, int audioSelection,
                                       int mp3Quality) {
    RecorderDisplayTexts texts = {};
    if (state == kRecorderPlaying) {
        texts.status = "PLAYING";
        texts.statusColour = kDisplayGreen;
    } else if (state == kRecorderRecording) {
        texts.status = "RECORDING";
        texts.statusColour = kDisplayDarkRed;
    } else {
        texts.status = "STOPPED";
        texts.statusColour = kDisplayWhite;
    }
    const uint32_t bytes = DisplayedBytes(state, display);
    const double seconds = bytesPerSecond != 0
                               ? static_cast<double>(bytes) / static_cast<double>(bytesPerSecond)
                               : 0.0;
    FormatDurationTenths(seconds, texts.time);
    char size[kSizeTextLength];
    FormatFileSize(EstimatedVoiceFileSize(SizedBytes(state, display), audioSelection, mp3Quality),
                   size);
    std::snprintf(texts.size, sizeof texts.size, "%s      ", size);
    return texts;
}

BarLook RecorderBarLook(uint32_t state, const RecorderDisplay& display, bool meterAvailable) {
    if (state == kRecorderPlaying) {
        return display.maximum != 0 && display.position != 0 ? BarLook::Progress : BarLook::Empty;
    }
    if (state == kRecorderRecording && display.position != 0 && meterAvailable) {
        return BarLook::Meter;
    }
    return BarLook::Empty;
}
