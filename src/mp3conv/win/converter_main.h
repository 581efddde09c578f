// kto2mp3: compresses the recorded tempwave.wav beside it to an MP3 file (MPEG audio frames alone).
// The command line is a quality digit directly followed by the output file name; the program always
// ends with exit code 1 and brings Kestro's main window to the front.
#pragma once

#include <windows.h>

inline constexpr char kMp3LoadFailedText[] = "MP3 encoder didn't load.\nPlease re-install Kestro.";
inline constexpr char kMp3LoadFailedCaption[] = "Kestro - MP3 encoding error";

// Returns the program's exit code.
int RunConverter(HINSTANCE instance, const char* commandLine);
