#include "mail/win/send_flow.h"

#include "app/win/app_state.h"
#include "app/win/settings_dialogs.h"
#include "base/win/message_box.h"
#include "compose/win/current_message.h"
#include "mail/win/send_state.h"
#include "mail/win/smtp_client.h"
#include "resources/resource_ids.h"

void SendCommand(HWND mainWindow) {
    if (!SendIsIdle(sendState)) {
        return; // a send is running
    }
    if (programSettings.useMapi != 0) {
        PostMessageA(mainWindow, WM_COMMAND, IDM_MAPI_SEND, 0);
        return;
    }
    if (alreadySent &&
        ShowMessageBox(mainWindow,
                       "This message was already sent.\nDo you want to send the message again?",
                       "Send Message", MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    if (programSettings.serverName[0] == '\0') {
        ShowMessageBox(mainWindow, "You must configure your E-mail address before sending",
                       "E-mail Settings", MB_OK | MB_ICONEXCLAMATION);
        DialogBoxParamA(app.instance, "PROGRAM_SETTINGS", mainWindow, ProgramSettingsDialogProc, 0);
        return; // the user sends again afterwards
    }
    if (!StartSmtpSend(mainWindow, programSettings.serverName)) {
        CloseSmtpConnection();
        sendState = 0;
        return;
    }
    if (app.pictureButtons[5]) {
        SendMessageA(app.pictureButtons[5], WM_COMMAND, IDM_START_SEND_ANIMATION, 0);
    }
    SetStatusText("Sending");
}
