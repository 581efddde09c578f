#include "app/win/new_message.h"

#include "app/win/app_state.h"
#include "app/win/main_window.h"
#include "compose/win/current_message.h"
#include "compose/win/format_bar.h"
#include "resources/resource_ids.h"

void NewMessageCommand(HWND mainWindow) {
    // The question comes whenever the message was not sent, even when it is empty.
    if (!alreadySent && !AgreesToClearUnsentMessage(mainWindow)) {
        return;
    }
    ClearMessage();
    for (int id = IDC_TO_EDIT; id <= IDC_SUBJECT_EDIT; ++id) {
        PostMessageA(composeWindows.addressPanel, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), 0);
    }
    ResetBodyFormat();
    PostMessageA(mainWindow, WM_RELAYOUT_BODY, 0, 0);
}
