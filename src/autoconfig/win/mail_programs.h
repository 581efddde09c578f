// The command lines of the system's mail handler and web browser.
#pragma once

constexpr int kCommandLineSize = 1024;

// The mailto handler's command line: HKEY_CLASSES_ROOT mailto\shell\open\command, or, when
// that is missing or empty, the open command of the program chosen for mailto in the Default
// Apps settings (its UserChoice ProgId). False when neither gives a command.
bool ReadMailHandlerCommand(char (&command)[kCommandLineSize]);

// The web browser's command line, HKEY_CLASSES_ROOT HTTP\shell\open\command.
bool ReadBrowserCommand(char (&command)[kCommandLineSize]);
