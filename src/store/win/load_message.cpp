#include "store/win/message_store.h"

#include <memory>
#include <string>

#include "base/file_bytes.h"
#include "compose/current_message.h"
#include "compose/placeholders.h"
#include "compose/win/address_panel.h"
#include "compose/win/attachments.h"
#include "compose/win/compose_windows.h"
#include "resources/resource_ids.h"
#include "store/saved_message_file.h"
#include "store/win/body_rtf_stream.h"

namespace {

// Adds the loaded text to the field: the field's own text stays in front of it, one blank
// between, unless the field is empty or shows its placeholder.
void AppendToField(int editId, const char* loaded) {
    if (loaded[0] == '\0') {
        return;
    }
    std::string text = AddressFieldText(editId, kFieldTextLength);
    const char* placeholder = PlaceholderForField(editId);
    if (placeholder != nullptr && text == placeholder) {
        text.clear();
    }
    text += text.empty() ? "" : " ";
    text += loaded;
    SetWindowTextA(AddressEdit(editId), text.c_str());
}

} // namespace

void LoadMessage(const char* path) {
    std::string bytes;
    if (path == nullptr || !ReadFileBytes(path, bytes) || bytes.empty()) {
        return;
    }
    std::unique_ptr<SavedMessage> message(new SavedMessage());
    if (!ParseSavedMessage(bytes.data(), bytes.size(), *message)) {
        return;
    }
    AppendToField(IDC_TO_EDIT, message->to);
    AppendToField(IDC_CC_EDIT, message->cc);
    AppendToField(IDC_BCC_EDIT, message->bcc);
    if (message->subject[0] != '\0') {
        SetWindowTextA(AddressEdit(IDC_SUBJECT_EDIT), message->subject);
    }
    if (message->htmlFormatting == 1) {
        htmlFormatting = 1;
    }
    for (int i = 0; i < message->attachmentCount; ++i) {
        AddAttachment(message->attachmentPaths[i]); // a copy that is gone is left out
    }
    if (message->hasBody && !message->bodyRtf.empty()) {
        ReadBodyRtf(composeWindows.bodyEditor, message->bodyRtf);
    }
}
