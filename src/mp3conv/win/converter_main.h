// kto2mp3: compresses the recorded tempwave.wav to MP3.
#pragma once

#include <windows.h>

// Returns the program's exit code.
int RunConverter(HINSTANCE instance, const char* commandLine);
