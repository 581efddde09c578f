#include "mail/win/send_flow.h"

#include "base/program_settings.h"
#include "base/win/message_box.h"
#include "base/win/status_bar.h"
#include "compose/current_message.h"
#include "compose/win/compose_windows.h"
#include "mail/win/mail_windows.h"
#include "mail/win/send_state.h"
#include "mail/win/smtp_client.h"
#include "resources/resource_ids.h"

void SendCommand(HWND mainWindow) {
    if (!SendIsIdle(sendState)) {
        return; // a send is running
    }
    if (mailWindows.settings->useMapi != 0) {
        PostMessageA(mainWindow, WM_COMMAND, IDM_MAPI_SEND, 0);
        return;
    }
    if (alreadySent &&
        ShowMessageBox(mainWindow,
                       "This message was already sent.\nDo you want to send the message again?",
                       "Send Message", MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    if (mailWindows.settings->serverName[0] == '\0') {
        ShowMessageBox(mainWindow, "You must configure your E-mail address before sending",
                       "E-mail Settings", MB_OK | MB_ICONEXCLAMATION);
        DialogBoxParamA(mailWindows.instance, "PROGRAM_SETTINGS", mainWindow,
                        mailWindows.programSettingsDialog, 0);
        return; // the user sends again afterwards
    }
    if (!StartSmtpSend(mainWindow, mailWindows.settings->serverName)) {
        CloseSmtpConnection();
        sendState = SMTP_IDLE;
        return;
    }
    if (HWND logo = composeWindows.toolbarButtons[5]) {
        SendMessageA(logo, WM_COMMAND, IDM_START_SEND_ANIMATION, 0);
    }
    SetStatusBarText(mailWindows.statusBar, "Sending");
}
