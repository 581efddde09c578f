#include "compose/win/current_message.h"

#include <string>

#include "compose/placeholders.h"
#include "compose/win/address_panel.h"
#include "compose/win/attachments.h"
#include "compose/win/compose_windows.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"

int MessageHasContent() {
    for (int id = IDC_TO_EDIT; id <= IDC_SUBJECT_EDIT; ++id) {
        const std::string text = AddressFieldText(id, 255);
        if (!text.empty() && text != PlaceholderForField(id)) {
            return 1;
        }
    }
    if (AttachmentCount() > 0) {
        return 1;
    }
    HWND body = composeWindows.bodyEditor;
    return body && GetWindowTextLengthA(body) > 0 ? 1 : 0;
}

void ClearMessage() {
    htmlFormatting = 0;
    for (int id = IDC_TO_EDIT; id <= IDC_SUBJECT_EDIT; ++id) {
        SetWindowTextA(AddressEdit(id), "");
    }
    if (composeWindows.bodyEditor) {
        SetWindowTextA(composeWindows.bodyEditor, "");
    }
    ClearAttachments();
    ResetSendingState();
}
