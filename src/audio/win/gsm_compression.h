// Compressing the recorded tempwave.wav to GSM 6.10 in-process, through the Audio Compression
// Manager and the progress dialog.
#pragma once

#include <windows.h>

inline constexpr char kGsmMissingText[] =
    "The Windows GSM 6.1 codec is not installed on your system.\nPlease read the Kestro "
    "documentation on how to install it.";
inline constexpr char kGsmMissingCaption[] = "Kestro Error";

// Where the recording waits while it is compressed into a voice file named "tempwave.wav".
inline constexpr char kRecordingAsideName[] = "tempwave.in";

// Converts programDirectory + "tempwave.wav" into programDirectory + fileName. 1 when the file
// was written, 0 otherwise (after a message where there is one to show). A fileName of
// "tempwave.wav" itself (in any case) replaces the recording with its compressed form; when
// that fails the recording is left as it was.
int CompressToGsm(HWND owner, const char* fileName);
