// The encoder settings and their file plugin.ini (five KEY=value lines in the program
// directory), and the mono PCM capture format that follows from the voice encoder choice.
#pragma once

#include <cstdint>

constexpr int kPluginSettingsVersion = 10;
inline constexpr char kPluginSettingsFileName[] = "plugin.ini";

// audioSelection
constexpr int kAudioGsm = 0;
constexpr int kAudioMp3 = 1;
constexpr int kAudioUncompressed = 2;
constexpr int kAudioCustom = 3;

// mp3Quality: the names in the Program Settings combo box, by index.
constexpr int kMp3Quality16kHz = 0;
constexpr int kMp3Quality8kHz = 1;
inline constexpr const char* kMp3QualityNames[] = {"16 kHz", "8 kHz"};

// videoSelection
constexpr int kVideoWindowsCodecs = 0;
constexpr int kVideoRealVideo = 1;

// realVideoSelection: the names in the Program Settings combo box, by index.
inline constexpr const char* kRealVideoQualityNames[] = {"Good", "Normal", "High", "Superb"};

struct PluginSettings {
    int32_t audioSelection;
    int32_t mp3Quality;
    int32_t videoSelection;
    int32_t realVideoSelection;
    int32_t customSlot; // the selected custom encoder line: 0 "custom 1", 1 "custom 2"
    // The capture format: mono PCM.
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
};

// Sets channels and the capture format from audioSelection and mp3Quality.
void ApplyCaptureFormat(PluginSettings& settings);

// Reads programDirectory + "plugin.ini" into settings. Returns 1 when a version-10 file was read
// (its values clamped to their ranges); 0 for a file of another version (every selection 0) or a
// missing one (the defaults, written back; MP3 is chosen when the MP3 codec is present).
int ReadPluginSettings(const char* programDirectory, int mp3CodecPresent, PluginSettings& settings);

// Writes programDirectory + "plugin.ini", replacing it: five lines, each ended by a line feed.
// Returns 0 when the file cannot be written.
int WritePluginSettings(const char* programDirectory, const PluginSettings& settings);
