#include "plugins/win/custom_config_dialog.h"

#include "base/win/message_box.h"
#include "base/win/program_directory.h"
#include "plugins/win/plugin_state.h"
#include "plugins/win/plugin_windows.h"
#include "resources/resource_ids.h"

namespace {

void Fill(HWND dialog) {
    CustomEncoderLines lines;
    ReadCustomEncoderLines(programDirectory, lines);
    const int edits[] = {IDC_CC_LINE1, IDC_CC_LINE2};
    for (int i = 0; i < kCustomEncoderSlots; ++i) {
        SendDlgItemMessageA(dialog, edits[i], EM_LIMITTEXT, kCustomLineLength - 1, 0);
        SetDlgItemTextA(dialog, edits[i], lines.lines[i]);
    }
    CheckRadioButton(dialog, IDC_CC_SLOT1, IDC_CC_SLOT2,
                     pluginSettings.customSlot == 1 ? IDC_CC_SLOT2 : IDC_CC_SLOT1);
}

void Store(HWND dialog) {
    CustomEncoderLines lines = {};
    GetDlgItemTextA(dialog, IDC_CC_LINE1, lines.lines[0], kCustomLineLength);
    GetDlgItemTextA(dialog, IDC_CC_LINE2, lines.lines[1], kCustomLineLength);
    lines.slot = IsDlgButtonChecked(dialog, IDC_CC_SLOT2) == BST_CHECKED ? 1 : 0;
    SaveCustomEncoderLines(lines);
}

INT_PTR CALLBACK CustomConfigProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        Fill(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Store(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_CC_HELP:
            ShowMessageBox(dialog, kCustomHelpText, kCustomHelpCaption, MB_OK | MB_ICONINFORMATION);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int ConfigureCustomEncoders(HWND owner) {
    return DialogBoxParamA(pluginWindows.instance, "CUSTOM_CONFIG_BOX", owner, CustomConfigProc,
                           0) == 1
               ? 1
               : 0;
}
