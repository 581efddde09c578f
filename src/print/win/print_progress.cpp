#include "print/win/print_progress.h"

namespace {

// One print job runs at a time: the main window is disabled while it does.
struct PrintJobState {
    HWND mainWindow;
    HWND dialog;
    int abortFlag; // set when the user cancels the job
};

PrintJobState job;

INT_PTR CALLBACK PrintProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            job.abortFlag = 1;
            // Enable the owner before the dialog goes, so that it takes the activation back.
            EnableWindow(job.mainWindow, TRUE);
            DestroyWindow(dialog);
            job.dialog = nullptr;
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// Called by the printer between pages and bands: the program stays responsive, and a false
// result stops the job.
BOOL CALLBACK PrintAbortProc(HDC, int) {
    MSG message;
    while (!job.abortFlag && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam)); // for the main loop, after the job
            break;
        }
        if (!job.dialog || !IsDialogMessageA(job.dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return !job.abortFlag;
}

} // namespace

PrintProgress::PrintProgress(HINSTANCE instance, HWND mainWindow, HDC printer) {
    job.mainWindow = mainWindow;
    job.abortFlag = 0;
    EnableWindow(mainWindow, FALSE);
    job.dialog = CreateDialogParamA(instance, "PRINTDLGBOX", mainWindow, PrintProgressProc, 0);
    SetAbortProc(printer, PrintAbortProc);
}

PrintProgress::~PrintProgress() {
    if (!job.abortFlag) {
        EnableWindow(job.mainWindow, TRUE);
        if (job.dialog) {
            DestroyWindow(job.dialog);
        }
    }
    job = PrintJobState{};
}

bool PrintProgress::KeepPrinting() {
    return PrintAbortProc(nullptr, 0) != FALSE;
}
