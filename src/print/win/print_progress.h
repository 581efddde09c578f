// The progress dialog of a print job ("Printing", with Cancel) and the abort procedure that
// keeps the program responsive while pages go to the spooler.
#pragma once

#include <windows.h>

// While it lives, the main window is disabled, the modeless dialog PRINTDLGBOX is shown and the
// printer's abort procedure dispatches pending messages. Cancel in the dialog sets the abort
// flag, enables the main window again and closes the dialog; otherwise the destructor does so.
class PrintProgress {
  public:
    PrintProgress(HINSTANCE instance, HWND mainWindow, HDC printer);
    ~PrintProgress();
    PrintProgress(const PrintProgress&) = delete;
    PrintProgress& operator=(const PrintProgress&) = delete;

    // Dispatches the messages that arrived (a page has gone out) and tells whether the job may
    // go on: false once the user cancelled.
    bool KeepPrinting();
};
