// The program settings record and its file, Kestro.ini: KEY=value lines after a version line.
// Portable: the Win32 layer reads and writes the file bytes, this code turns them into settings.
#pragma once

#include <string>

constexpr int kSettingsVersion = 20;
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

struct ScreenSize {
    int width;
    int height;
};

enum class SettingsLayout {
    Keyed, // first line "VERSION=..."; keys in any order
    Older, // values by position, without keys
};

// The settings of a first run: MAPI, port 25, a window placed by the screen size, the banner on
// with both ad locations on the vendor's web host.
void ApplyDefaultSettings(ProgramSettings& settings, ScreenSize screen);

// Reads the file's text into settings. Keys missing from a keyed file leave their fields as they
// were. A value longer than its field is cut to the field's length.
SettingsLayout ParseSettingsText(const std::string& text, ProgramSettings& settings);

// Replaces a window rectangle that does not fit on the screen.
void FitWindowToScreen(ProgramSettings& settings, ScreenSize screen);

// The 17 lines of the file and then the banner's three, each ended by CR LF.
std::string FormatSettingsText(const ProgramSettings& settings);

// Copies text into a fixed field, cut to the field's size and always terminated.
void CopyField(char* field, size_t fieldSize, const char* text);
template <size_t N> void CopyField(char (&field)[N], const std::string& text) {
    CopyField(field, N, text.c_str());
}
