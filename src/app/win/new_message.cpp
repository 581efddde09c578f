#include "app/win/new_message.h"

#include "app/win/app_state.h"
#include "app/win/main_window.h"
#include "base/win/message_box.h"
#include "compose/win/current_message.h"
#include "compose/win/format_bar.h"
#include "resources/resource_ids.h"

void NewMessageCommand(HWND mainWindow) {
    // The question comes whenever the message was not sent, even when it is empty.
    if (!alreadySent &&
        ShowMessageBox(mainWindow, "This e-mail has not been sent.\nClear the message anyways?",
                       "New Message Notification", MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL) {
        return;
    }
    ClearMessage();
    for (int id = IDC_TO_EDIT; id <= IDC_SUBJECT_EDIT; ++id) {
        PostMessageA(composeWindows.addressPanel, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), 0);
    }
    ResetBodyFormat();
    PostMessageA(mainWindow, WM_RELAYOUT_BODY, 0, 0);
}
