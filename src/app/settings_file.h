// The program settings file, Kestro.ini: KEY=value lines after a version line.
// Portable: the Win32 layer reads and writes the file bytes, this code turns them into settings.
#pragma once

#include <string>

#include "base/program_settings.h"

constexpr int kSettingsVersion = 20;

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
