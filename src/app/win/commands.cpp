#include <winsock2.h> // before <windows.h>

#include "app/win/commands.h"

#include "app/win/about_box.h"
#include "app/win/app_state.h"
#include "app/win/help_launcher.h"
#include "app/win/new_message.h"
#include "app/win/settings_dialogs.h"
#include "autoconfig/win/auto_config.h"
#include "base/win/message_box.h"
#include "books/win/address_book.h"
#include "compose/win/address_panel.h"
#include "compose/win/attach_file_command.h"
#include "compose/win/current_message.h"
#include "compose/win/format_bar.h"
#include "mail/win/send_flow.h"
#include "mail/win/send_state.h"
#include "mail/win/simple_mapi.h"
#include "mail/win/smtp_client.h"
#include "plugins/win/realvideo_command.h"
#include "print/print_header.h"
#include "print/win/print_message.h"
#include "resources/resource_ids.h"
#include "store/win/message_store.h"
#include "video/win/driver_notice.h"
#include "video/win/video_window.h"
#include "voice/win/recorder_window.h"

void RefreshSenderLine() {
    HWND from = AddressEdit(IDC_FROM_EDIT);
    if (from) {
        PostMessageA(from, WM_COMMAND, IDC_REFRESH_SENDER, 0);
    }
}

namespace {

void SendToFocus(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND focus = GetFocus();
    if (focus) {
        SendMessageA(focus, message, wParam, lParam);
    }
}

void CancelSend() {
    if (!SendCanBeCancelled(sendState)) {
        return; // nothing to cancel
    }
    CancelRunningSend(); // cancel request set, connection closed, state 0, "Canceled Send"
}

void PrintCommand(HWND window) {
    constexpr int kFieldTextLength = 4096; // the fields are read as for sending
    const AddressFieldTexts fields = {AddressFieldText(IDC_TO_EDIT, kFieldTextLength),
                                      AddressFieldText(IDC_CC_EDIT, kFieldTextLength),
                                      AddressFieldText(IDC_BCC_EDIT, kFieldTextLength),
                                      AddressFieldText(IDC_SUBJECT_EDIT, kFieldTextLength)};
    switch (PrintMessage(app.instance, window, composeWindows.bodyEditor,
                         FormatPrintHeader(programSettings, fields))) {
    case kPrintFailed:
        ShowMessageBox(window, "Could not print the document", "Kestro Print", MB_OK);
        break;
    case kNoPrinterInstalled:
        ShowMessageBox(window, "No printer is installed.", "Kestro Print",
                       MB_OK | MB_ICONINFORMATION);
        break;
    case kPrintDone:
        break;
    }
}

// The check mark of Options > Video Driver follows the position equal to the driver index.
void SelectVideoDriver(HWND window, int index) {
    HMENU drivers = VideoDriverMenu(window);
    if (drivers) {
        CheckMenuItem(drivers, static_cast<UINT>(programSettings.videoIndex),
                      MF_BYPOSITION | MF_UNCHECKED);
        CheckMenuItem(drivers, static_cast<UINT>(index), MF_BYPOSITION | MF_CHECKED);
    }
    programSettings.videoIndex = index;
    DialogBoxParamA(app.instance, "VIDEO_SELECT", window, DriverNoticeProc,
                    reinterpret_cast<LPARAM>(window));
}

// Only a real use of the bar counts: focusing or opening a box must not take the focus away
// from it (its list would close at once) nor mark the message as formatted.
void FormatBarCommand(HWND window, int id, int notification) {
    if (!OnFormatBarCommand(window, id, notification)) {
        return;
    }
    if (composeWindows.bodyEditor) {
        SetFocus(composeWindows.bodyEditor);
    }
    htmlFormatting = 1;
}

} // namespace

LRESULT OnMainCommand(HWND window, int id, int notification, LPARAM lParam) {
    if (id >= IDM_VIDEO_DRIVER_FIRST && id < IDM_VIDEO_DRIVER_FIRST + 10) {
        SelectVideoDriver(window, id - IDM_VIDEO_DRIVER_FIRST);
        return 0;
    }
    if (id >= IDM_AUTOCONFIG && id <= IDM_AUTOCONFIG_LAST) {
        RunAutoConfiguration(window, id);
        return 0;
    }
    if (id >= IDC_FONT_NAME_BOX && id <= IDC_UNDERLINE_BUTTON) {
        FormatBarCommand(window, id, notification);
        return 0;
    }
    switch (id) {
    case IDC_SEND_BUTTON:
    case IDM_SEND:
        SendCommand(window);
        break;
    case IDM_ATTACH_FILE:
        AttachFileCommand(window);
        break;
    case IDM_VOICE_MESSAGE:
        if (!SendBlocksRecording(sendState)) {
            OpenVoiceRecorder(app.instance, window);
        }
        break;
    case IDM_VIDEO_MESSAGE:
        if (!SendBlocksRecording(sendState) && !app.videoDriversMissing) {
            OpenVideoWindow(window);
        }
        break;
    case IDC_CANCEL_BUTTON:
        CancelSend();
        break;
    case IDC_LOGO_BUTTON:
    case IDM_DOCUMENTATION:
    case IDM_ENCODERS_DOC:
    case IDM_FAQ_DOC:
    case IDM_ONLINE_HELP:
    case IDM_CHECK_UPDATES:
    case IDM_WEBSITE:
    case IDM_PLUGIN_DOWNLOAD:
        OpenHelpTarget(window, id);
        break;
    case IDM_ADDRESS_BOOK:
        OpenAddressBook(
            window, {AddressEdit(IDC_TO_EDIT), AddressEdit(IDC_CC_EDIT), AddressEdit(IDC_BCC_EDIT)},
            programDirectory, programSettings.alwaysAddressMapi);
        break;
    case IDM_UPDATE_FORMAT_BAR:
        UpdateFormatBar();
        break;
    case IDM_EXIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    case IDM_SAVE_MESSAGE:
        SaveMessage(lParam == 1 ? 1 : 0);
        break;
    case IDM_LOAD_MESSAGE:
        OpenLoadMessageDialog(window);
        break;
    case IDM_NEW_MESSAGE:
        NewMessageCommand(window);
        break;
    case IDM_PRINT:
        PrintCommand(window);
        break;
    case IDM_PROGRAM_SETTINGS:
        DialogBoxParamA(app.instance, "PROGRAM_SETTINGS", window, ProgramSettingsDialogProc, 0);
        break;
    case IDM_ABOUT:
        DialogBoxParamA(app.instance, "ABOUTBOX", window, AboutBoxProc, 0);
        break;
    case IDM_UNDO:
        SendToFocus(WM_UNDO, 0, 0);
        break;
    case IDM_CUT:
        SendToFocus(WM_CUT, 0, 0);
        break;
    case IDM_COPY:
        SendToFocus(WM_COPY, 0, 0);
        break;
    case IDM_PASTE:
        SendToFocus(WM_PASTE, 0, 0);
        break;
    case IDM_SELECT_ALL:
        SendToFocus(EM_SETSEL, 0, -1);
        break;
    case IDM_RELAYOUT:
        PostMessageA(window, WM_SIZE, 0, 0);
        break;
    case IDM_REALVIDEO_ENCODE:
        EncodeWithRealVideo(window);
        break;
    case IDM_MAPI_SEND:
        MapiSendCommand(window);
        break;
    case IDM_MAPI_ADDRESS:
        MapiAddressCommand(window);
        break;
    default:
        break; // no handler
    }
    return 0;
}
