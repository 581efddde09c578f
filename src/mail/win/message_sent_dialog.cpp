#include "mail/win/message_sent_dialog.h"

#include "base/program_settings.h"
#include "base/win/status_bar.h"
#include "compose/current_message.h"
#include "mail/win/mail_windows.h"
#include "resources/resource_ids.h"

namespace {

int ticks = 0; // one dialog at a time

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Check(HWND dialog, int id, int setting) {
    CheckDlgButton(dialog, id, setting == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void OnInit(HWND dialog) {
    ticks = 0;
    SetForegroundWindow(mailWindows.mainWindow);
    SetTimer(dialog, kMessageSentTimer, kMessageSentTickMs, nullptr);
    Check(dialog, IDC_MS_AUTO_CLOSE, mailWindows.settings->alwaysClose);
    Check(dialog, IDC_MS_SAVE, mailWindows.settings->alwaysSave);
    Check(dialog, IDC_MS_CLEAR, mailWindows.settings->alwaysClear);
    alreadySent = 1;
    MessageBeep(0);
}

// Takes the ticked choices into the settings and asks the main window to save and clear.
void OnOk(HWND dialog) {
    mailWindows.settings->alwaysClose = Checked(dialog, IDC_MS_AUTO_CLOSE) ? 1 : 0;
    mailWindows.settings->alwaysSave = Checked(dialog, IDC_MS_SAVE) ? 1 : 0;
    if (mailWindows.settings->alwaysSave) {
        PostMessageA(mailWindows.mainWindow, WM_COMMAND, IDM_SAVE_MESSAGE, 1);
    }
    mailWindows.settings->alwaysClear = Checked(dialog, IDC_MS_CLEAR) ? 1 : 0;
    if (mailWindows.settings->alwaysClear) {
        PostMessageA(mailWindows.mainWindow, WM_COMMAND, IDM_NEW_MESSAGE, 0);
    }
    SetStatusBarText(mailWindows.statusBar, "Message Sent Successfully");
    KillTimer(dialog, kMessageSentTimer);
    EndDialog(dialog, 1);
}

} // namespace

INT_PTR CALLBACK MessageSentDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return TRUE;
    case WM_TIMER:
        if (wParam == kMessageSentTimer && ++ticks > kMessageSentTicksBeforeClose &&
            Checked(dialog, IDC_MS_AUTO_CLOSE)) {
            KillTimer(dialog, kMessageSentTimer); // OK is pressed once
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            OnOk(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            KillTimer(dialog, kMessageSentTimer);
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}
