#include "app/win/settings_dialogs.h"

#include "app/win/app_state.h"
#include "app/win/commands.h"
#include "base/win/message_box.h"
#include "base/wipe_secret.h"
#include "mail/smtp_account.h"
#include "mail/win/protected_password.h"
#include "plugins/win/custom_config_dialog.h"
#include "plugins/win/encoder_settings_group.h"
#include "resources/resource_ids.h"

namespace {

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, int value) {
    CheckDlgButton(dialog, id, value ? BST_CHECKED : BST_UNCHECKED);
}

void CheckMapiRadio(HWND dialog) {
    CheckRadioButton(dialog, IDC_USE_MAPI, IDC_USE_SMTP,
                     programSettings.useMapi ? IDC_USE_MAPI : IDC_USE_SMTP);
}

void InitProgramSettings(HWND dialog) {
    CheckMapiRadio(dialog);
    SetChecked(dialog, IDC_PS_ADDRESS_MAPI, programSettings.alwaysAddressMapi);
    SetChecked(dialog, IDC_PS_ALWAYS_CLOSE, programSettings.alwaysClose);
    SetChecked(dialog, IDC_PS_ALWAYS_SAVE, programSettings.alwaysSave);
    SetChecked(dialog, IDC_PS_ALWAYS_CLEAR, programSettings.alwaysClear);
    FillEncoderGroup(dialog);
}

void AcceptProgramSettings(HWND dialog) {
    const bool smtpChosen = IsChecked(dialog, IDC_USE_SMTP) && !IsChecked(dialog, IDC_USE_MAPI);
    if (smtpChosen && !(programSettings.mailFrom[0] && programSettings.serverName[0])) {
        ShowMessageBox(dialog,
                       "You need to setup your SMTP information.\nUse the MAPI interface "
                       "for sending emails.",
                       "SMTP Setup", MB_OK | MB_ICONEXCLAMATION);
        CheckRadioButton(dialog, IDC_USE_MAPI, IDC_USE_SMTP, IDC_USE_MAPI);
        programSettings.useMapi = 1;
        return;
    }
    // The encoder group stores its choices only when it accepts them; until then nothing of
    // this dialog is stored, so that a Cancel after a refusal keeps the settings as they were.
    if (!AcceptEncoderGroup(dialog)) {
        return; // an encoder that is not installed: the dialog stays open
    }
    if (IsChecked(dialog, IDC_USE_MAPI)) {
        programSettings.useMapi = 1;
    } else if (smtpChosen) {
        programSettings.useMapi = 0;
    }
    programSettings.alwaysAddressMapi = IsChecked(dialog, IDC_PS_ADDRESS_MAPI);
    RefreshSenderLine();
    programSettings.alwaysClose = IsChecked(dialog, IDC_PS_ALWAYS_CLOSE);
    programSettings.alwaysSave = IsChecked(dialog, IDC_PS_ALWAYS_SAVE);
    programSettings.alwaysClear = IsChecked(dialog, IDC_PS_ALWAYS_CLEAR);
    EndDialog(dialog, 1);
}

constexpr int kSettingsEdits[] = {IDC_ES_USERNAME,      IDC_ES_MAILFROM, IDC_ES_REPLYTO,
                                  IDC_ES_SERVER,        IDC_ES_PORT,     IDC_ES_LOGIN_USER,
                                  IDC_ES_LOGIN_PASSWORD};

// The security list's entries, in the order of the SMTPSECURITY values.
const char* const kSecurityNames[] = {"None", "STARTTLS", "TLS (SSL) from the start"};

void SetEditsReadOnly(HWND dialog, bool readOnly) {
    for (int id : kSettingsEdits) {
        SendDlgItemMessageA(dialog, id, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
    }
    EnableWindow(GetDlgItem(dialog, IDC_ES_SECURITY), readOnly ? FALSE : TRUE);
}

int ChosenSecurity(HWND dialog) {
    const LRESULT index = SendDlgItemMessageA(dialog, IDC_ES_SECURITY, CB_GETCURSEL, 0, 0);
    return index == kSmtpSecurityStartTls || index == kSmtpSecurityTls ? static_cast<int>(index)
                                                                       : kSmtpSecurityNone;
}

// The password edit shows the stored password (as dots); a changed one is protected anew.
void FillLogin(HWND dialog) {
    for (const char* name : kSecurityNames) {
        SendDlgItemMessageA(dialog, IDC_ES_SECURITY, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(name));
    }
    SendDlgItemMessageA(dialog, IDC_ES_SECURITY, CB_SETCURSEL,
                        static_cast<WPARAM>(programSettings.smtpSecurity), 0);
    SetDlgItemTextA(dialog, IDC_ES_LOGIN_USER, programSettings.smtpUser);
    char password[kNameLength];
    UnprotectPassword(programSettings.smtpPassword, password, sizeof password);
    SetDlgItemTextA(dialog, IDC_ES_LOGIN_PASSWORD, password);
    WipeSecret(password, sizeof password);
    SendDlgItemMessageA(dialog, IDC_ES_LOGIN_PASSWORD, EM_SETMODIFY, FALSE, 0);
}

// False, with the user told, when the new password cannot be protected.
bool AcceptLogin(HWND dialog) {
    if (SendDlgItemMessageA(dialog, IDC_ES_LOGIN_PASSWORD, EM_GETMODIFY, 0, 0)) {
        char password[kNameLength];
        GetDlgItemTextA(dialog, IDC_ES_LOGIN_PASSWORD, password, kNameLength);
        char protectedPassword[kProtectedPasswordLength];
        const bool protectedOk =
            ProtectPassword(password, protectedPassword, sizeof protectedPassword);
        WipeSecret(password, sizeof password);
        if (!protectedOk) {
            ShowMessageBox(dialog,
                           "The password could not be protected for storing, so it was not "
                           "changed.",
                           "Email Settings", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        CopyField(programSettings.smtpPassword, sizeof programSettings.smtpPassword,
                  protectedPassword);
    }
    programSettings.smtpSecurity = ChosenSecurity(dialog);
    GetDlgItemTextA(dialog, IDC_ES_LOGIN_USER, programSettings.smtpUser, kNameLength);
    return true;
}

void InitEmailSettings(HWND dialog) {
    CheckMapiRadio(dialog);
    if (programSettings.useMapi) {
        SetEditsReadOnly(dialog, true);
    }
    for (int id : kSettingsEdits) {
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, id == IDC_ES_PORT ? 10 : kNameLength - 1, 0);
    }
    SetDlgItemTextA(dialog, IDC_ES_USERNAME, programSettings.userName);
    SetDlgItemTextA(dialog, IDC_ES_MAILFROM, programSettings.mailFrom);
    SetDlgItemTextA(dialog, IDC_ES_REPLYTO, programSettings.replyTo);
    SetDlgItemTextA(dialog, IDC_ES_SERVER, programSettings.serverName);
    SetDlgItemInt(dialog, IDC_ES_PORT, static_cast<UINT>(programSettings.smtpPort), FALSE);
    FillLogin(dialog);
    SetTimer(dialog, IDT_ES_FOLLOW_RADIOS, 500, nullptr);
}

void AcceptEmailSettings(HWND dialog) {
    if (!AcceptLogin(dialog)) {
        return; // the dialog stays open
    }
    programSettings.useMapi = IsChecked(dialog, IDC_USE_MAPI) ? 1 : 0;
    GetDlgItemTextA(dialog, IDC_ES_USERNAME, programSettings.userName, kNameLength);
    GetDlgItemTextA(dialog, IDC_ES_MAILFROM, programSettings.mailFrom, kNameLength);
    GetDlgItemTextA(dialog, IDC_ES_REPLYTO, programSettings.replyTo, kNameLength);
    GetDlgItemTextA(dialog, IDC_ES_SERVER, programSettings.serverName, kNameLength);
    BOOL isNumber = FALSE;
    UINT port = GetDlgItemInt(dialog, IDC_ES_PORT, &isNumber, FALSE);
    programSettings.smtpPort = isNumber ? static_cast<int>(port) : 0;
    RefreshSenderLine();
    KillTimer(dialog, IDT_ES_FOLLOW_RADIOS);
    EndDialog(dialog, 1);
}

} // namespace

INT_PTR CALLBACK ProgramSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        InitProgramSettings(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PS_ADVANCED:
            if (DialogBoxParamA(app.instance, "EMAILSET", dialog, EmailSettingsDialogProc, 0) ==
                1) {
                CheckMapiRadio(dialog);
            }
            return TRUE;
        case IDC_PS_AUTO:
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            PostMessageA(app.mainWindow, WM_COMMAND, IDM_AUTOCONFIG, 0);
            return TRUE;
        case IDC_PS_CONFIGURE:
            ConfigureCustomEncoders(dialog);
            return TRUE;
        case IDC_PS_HELP:
            ShowMessageBox(dialog, "Open up local documentation for PLUGIN Help", "PLUGIN help",
                           MB_OK | MB_ICONINFORMATION);
            PostMessageA(app.mainWindow, WM_COMMAND, IDM_ENCODERS_DOC, 0);
            return TRUE;
        case IDOK:
            AcceptProgramSettings(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK EmailSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                         LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        InitEmailSettings(dialog);
        return TRUE;
    case WM_TIMER:
        if (wParam == IDT_ES_FOLLOW_RADIOS) {
            SetEditsReadOnly(dialog, IsChecked(dialog, IDC_USE_MAPI));
        }
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_ES_DEFAULT_PORT:
            if (IsChecked(dialog, IDC_USE_SMTP)) {
                SetDlgItemInt(dialog, IDC_ES_PORT,
                              static_cast<UINT>(DefaultSmtpPort(ChosenSecurity(dialog))), FALSE);
            }
            return TRUE;
        case IDC_ES_AUTO:
            KillTimer(dialog, IDT_ES_FOLLOW_RADIOS);
            EndDialog(dialog, 0);
            PostMessageA(app.mainWindow, WM_COMMAND, IDM_AUTOCONFIG, 0);
            return TRUE;
        case IDOK:
            AcceptEmailSettings(dialog);
            return TRUE;
        case IDCANCEL:
            KillTimer(dialog, IDT_ES_FOLLOW_RADIOS);
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
