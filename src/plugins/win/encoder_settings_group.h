// The "Voice && Video Encoders" group of the Program Settings dialog (PROGRAM_SETTINGS):
// filled from plugin.ini when the dialog opens, stored to it on OK.
#pragma once

#include <windows.h>

inline constexpr char kMp3EncoderMissingText[] =
    "You need the required Windows MP3 Encoder.\n\nRead the documentation on how to install it.";
inline constexpr char kMp3EncoderMissingCaption[] = "MP3 encoder not found!";
inline constexpr char kRealEncoderMissingText[] =
    "The REAL video encoder plug-in is not installed.\n\nWould you like to go to the web site "
    "to get it?";
inline constexpr char kRealEncoderMissingCaption[] = "REAL Video encoder not found!";

// Fills both combo boxes, reads plugin.ini and sets the radio buttons and selections.
void FillEncoderGroup(HWND dialog);

// Takes the group's choices and writes plugin.ini: 1. Returns 0, with nothing stored and the
// refused radio button moved back, when MP3 is chosen without an MP3 encoder or RealVideo
// without kto2rm.exe; the dialog then stays open.
int AcceptEncoderGroup(HWND dialog);
