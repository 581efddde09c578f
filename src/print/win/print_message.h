// Printing the composed message: the platform's printer dialog, the progress dialog and the
// pages sent to the spooler.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum PrintResult {
    kPrintFailed = 0,        // the job failed, or the user cancelled it while it printed
    kPrintDone = 1,          // printed, or the user cancelled the printer dialog
    kNoPrinterInstalled = 2, // the printer dialog found no printer to offer
};

// Prints the header block (the first page's lines above the body, as FormatPrintHeader gives
// them) and the body editor's lines on the printer the user picks in the printer dialog.
PrintResult PrintMessage(HINSTANCE instance, HWND mainWindow, HWND bodyEditor,
                         const std::vector<std::string>& headerLines);
