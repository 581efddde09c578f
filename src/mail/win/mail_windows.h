// What the mail code's window side is given by the application: the main window, which
// receives the SMTP client's messages and owns the sending dialogs; the status bar the send
// reports in; the settings; and the application's two settings dialogs, opened when the server
// or the sender address is missing. The application fills it in with the composer's record
// (compose/win/compose_windows.h), whose body editor, address edits and logo the mail code
// also works with.
#pragma once

#include <windows.h>

struct ProgramSettings;

struct MailWindows {
    HINSTANCE instance;
    HWND mainWindow;
    HWND statusBar; // the status text in part 0, the progress bar in part 1
    ProgramSettings* settings;
    DLGPROC programSettingsDialog; // for the template "PROGRAM_SETTINGS"
    DLGPROC emailSettingsDialog;   // for the template "EMAILSET"
};

extern MailWindows mailWindows;
