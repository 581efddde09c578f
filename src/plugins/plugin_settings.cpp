#include "plugins/plugin_settings.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "base/scoped_file.h"
#include "base/text_fields.h"

namespace {

constexpr int kPathLength = 1024;
constexpr int kLineLength = 1024;

bool SettingsPath(const char* programDirectory, char (&path)[kPathLength]) {
    int length =
        std::snprintf(path, sizeof path, "%s%s", programDirectory, kPluginSettingsFileName);
    return length >= 0 && length < static_cast<int>(sizeof path);
}

// A decimal number as atoi reads it: leading blanks, a sign, digits up to the first other
// character; no digits give 0. Values beyond int are held at its limits.
int ParseDecimal(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
            magnitude = magnitude * 10 + (*p - '0');
        }
    }
    if (negative) {
        return magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN
                                                               : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

bool TakeValue(const char* line, const char* key, int32_t& value) {
    size_t keyLength = std::strlen(key);
    if (std::strncmp(line, key, keyLength) != 0) {
        return false;
    }
    value = ParseDecimal(line + keyLength);
    return true;
}

int ClampToRange(int value, int lowest, int highest) {
    return value < lowest || value > highest ? 0 : value;
}

} // namespace

void ApplyCaptureFormat(PluginSettings& settings) {
    settings.channels = 1;
    if (settings.audioSelection == kAudioCustom) {
        settings.samplesPerSec = 44100;
        settings.avgBytesPerSec = 88200;
        settings.blockAlign = 2;
        settings.bitsPerSample = 16;
    } else if (settings.audioSelection == kAudioMp3 && settings.mp3Quality == kMp3Quality8kHz) {
        settings.samplesPerSec = 8000;
        settings.avgBytesPerSec = 16000;
        settings.blockAlign = 2;
        settings.bitsPerSample = 16;
    } else if (settings.audioSelection == kAudioMp3) {
        settings.samplesPerSec = 16000;
        settings.avgBytesPerSec = 16000;
        settings.blockAlign = 1;
        settings.bitsPerSample = 8;
    } else {
        settings.samplesPerSec = 8000;
        settings.avgBytesPerSec = 8000;
        settings.blockAlign = 1;
        settings.bitsPerSample = 8;
    }
}

int ReadPluginSettings(const char* programDirectory, int mp3CodecPresent,
                       PluginSettings& settings) {
    char path[kPathLength];
    ScopedFile file(SettingsPath(programDirectory, path) ? std::fopen(path, "rb") : nullptr);
    if (!file) {
        settings.audioSelection = mp3CodecPresent ? kAudioMp3 : kAudioGsm;
        settings.mp3Quality = kMp3Quality16kHz;
        settings.videoSelection = kVideoRealVideo;
        settings.realVideoSelection = 1;
        ApplyCaptureFormat(settings);
        WritePluginSettings(programDirectory, settings);
        return 0;
    }

    int32_t version = 0;
    const struct {
        const char* key;
        int32_t* value;
    } keys[] = {
        {"VERSION=", &version},
        {"AUDIO_SELECTION=", &settings.audioSelection},
        {"MP3_QUALITY=", &settings.mp3Quality},
        {"VIDEO_SELECTION=", &settings.videoSelection},
        {"REALVIDEO_SELECTION=", &settings.realVideoSelection},
    };
    char line[kLineLength];
    while (ReadTextLine(file.get(), line)) {
        for (const auto& key : keys) {
            if (TakeValue(line, key.key, *key.value)) {
                break;
            }
        }
    }

    if (version != kPluginSettingsVersion) {
        settings.audioSelection = 0;
        settings.mp3Quality = 0;
        settings.videoSelection = 0;
        settings.realVideoSelection = 0;
        settings.customSlot = 0;
        ApplyCaptureFormat(settings);
        return 0;
    }
    settings.audioSelection = ClampToRange(settings.audioSelection, 0, 3);
    settings.mp3Quality = ClampToRange(settings.mp3Quality, 0, 1);
    // Only values of 2 and more are out of range here; a negative one is kept as read.
    if (settings.videoSelection >= 2) {
        settings.videoSelection = 0;
    }
    settings.realVideoSelection = ClampToRange(settings.realVideoSelection, 0, 3);
    ApplyCaptureFormat(settings);
    return 1;
}

int WritePluginSettings(const char* programDirectory, const PluginSettings& settings) {
    char path[kPathLength];
    if (!SettingsPath(programDirectory, path)) {
        return 0;
    }
    ScopedFile file(path, "wb");
    if (!file) {
        return 0;
    }
    std::fprintf(file.get(), "VERSION=%d\n", kPluginSettingsVersion);
    std::fprintf(file.get(), "AUDIO_SELECTION=%d\n", static_cast<int>(settings.audioSelection));
    std::fprintf(file.get(), "MP3_QUALITY=%d\n", static_cast<int>(settings.mp3Quality));
    std::fprintf(file.get(), "VIDEO_SELECTION=%d\n", static_cast<int>(settings.videoSelection));
    std::fprintf(file.get(), "REALVIDEO_SELECTION=%d\n",
                 static_cast<int>(settings.realVideoSelection));
    return file.close() ? 1 : 0;
}
