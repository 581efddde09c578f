// The custom encoder configuration (CUSTOM_CONFIG_BOX), opened by Configure in the Program
// Settings dialog: the two command lines "custom 1" and "custom 2" and which one is used.
// OK stores them in custom.ini at once.
#pragma once

#include <windows.h>

inline constexpr char kCustomHelpCaption[] = "Custom encoder help";
inline constexpr char kCustomHelpText[] =
    "Type the command line of your encoder program:\n\n"
    "the first word is the program, an .exe in the Kestro folder;\n"
    "#i stands for the recorded sound (tempwave.wav);\n"
    "#u stands for the file the encoder writes;\n"
    "#x= followed by a word gives that file's extension.\n\n"
    "Example: enc.exe -in #i -out #u #x=.gsm";

// Returns 1 when the lines were stored, 0 on Cancel.
int ConfigureCustomEncoders(HWND owner);
