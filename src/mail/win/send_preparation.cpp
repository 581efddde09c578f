#include "mail/win/send_preparation.h"

#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "base/program_settings.h"
#include "base/win/main_window_messages.h"
#include "base/win/message_box.h"
#include "compose/current_message.h"
#include "compose/placeholders.h"
#include "compose/win/address_panel.h"
#include "compose/win/attachments.h"
#include "compose/win/compose_windows.h"
#include "mail/body_parts.h"
#include "mail/rtf_to_html.h"
#include "mail/win/mail_windows.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* kConfigureSender = "You must configure your E-mail address before sending";
constexpr int kEditorLineSize = 1024;
constexpr WORD kEditorLineMaximum = 1022;

// Collects the editor's RTF stream-out into outgoingMessage; a chunk that finds no memory
// stops the stream.
bool streamOutOfMemory = false;

DWORD CALLBACK StreamOutRtf(DWORD_PTR, LPBYTE buffer, LONG count, LONG* written) {
    if (count < 0 || !AppendRtfChunk(outgoingMessage, reinterpret_cast<const char*>(buffer),
                                     static_cast<uint32_t>(count))) {
        streamOutOfMemory = true;
        *written = 0;
        return 1;
    }
    *written = count;
    return 0;
}

bool BuildTextPartFromEditor(HWND editor) {
    try {
        std::string text;
        const LRESULT lines = editor ? SendMessageA(editor, EM_GETLINECOUNT, 0, 0) : 0;
        for (LRESULT index = 0; index < lines; ++index) {
            char line[kEditorLineSize] = {};
            std::memcpy(line, &kEditorLineMaximum, sizeof kEditorLineMaximum);
            const LRESULT length = SendMessageA(editor, EM_GETLINE, static_cast<WPARAM>(index),
                                                reinterpret_cast<LPARAM>(line));
            if (length > 0 && length <= kEditorLineMaximum) {
                AppendEditorLine(text, line, static_cast<size_t>(length));
            }
        }
        if (text.empty()) {
            AppendEditorLine(text, " ", 1); // no editor: the blank an empty editor is given
        }
        return BuildTextPart(outgoingMessage, text.data(), text.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool BuildHtmlPartFromEditor(HWND editor) {
    streamOutOfMemory = false;
    if (editor) {
        EDITSTREAM stream = {kBodyPartHtml, 0, StreamOutRtf};
        SendMessageA(editor, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    }
    if (streamOutOfMemory) {
        return false;
    }
    if (outgoingMessage.rtfLength == 0) {
        return BuildHtmlPart(outgoingMessage, nullptr);
    }
    size_t capacity = 0;
    char* html = ConvertRtfToHtml(outgoingMessage.rtfStream, nullptr, &capacity);
    const bool built = BuildHtmlPart(outgoingMessage, html);
    std::free(html);
    return built;
}

// The sender: MAILFROM, asked for with the E-mail Settings dialog when it is empty.
bool TakeSender() {
    if (mailWindows.settings->mailFrom[0] == '\0') {
        ShowMessageBox(nullptr, kConfigureSender, "E-mail Settings", MB_OK | MB_ICONEXCLAMATION);
        const INT_PTR result =
            DialogBoxParamA(mailWindows.instance, "EMAILSET", mailWindows.mainWindow,
                            mailWindows.emailSettingsDialog, 0);
        // Without an address there is nothing to give MAIL FROM, even after OK.
        if (result == 0 || mailWindows.settings->mailFrom[0] == '\0') {
            ShowMessageBox(nullptr, kConfigureSender, "E-mail Settings error", MB_OK);
            return false;
        }
    }
    CopyField(outgoingMessage.sender, kSenderLength, mailWindows.settings->mailFrom);
    return true;
}

bool TakeRecipientsAndSubject() {
    HWND toEdit = AddressEdit(IDC_TO_EDIT);
    const std::string to = AddressFieldText(IDC_TO_EDIT, kRecipientFieldLength);
    if (to == kToPlaceholder) {
        ShowMessageBox(nullptr, "Please enter an e-mail address\nin the To: address field",
                       "To: address field is empty", MB_OK | MB_ICONEXCLAMATION);
        SetFocus(toEdit);
        return false;
    }
    if (ParseRecipients(to.c_str(), outgoingMessage.to) == 0) {
        ShowMessageBox(nullptr, "Please enter a valid email address\nin the To: address field",
                       "To: address field invalid", MB_OK | MB_ICONSTOP);
        SetFocus(toEdit);
        return false;
    }
    TakeCopiesAndSubject();
    return true;
}

// An empty editor gets a single blank, so that the text part is never empty.
void FillEmptyEditor(HWND editor) {
    if (editor && GetWindowTextLengthA(editor) == 0) {
        SendMessageA(editor, EM_SETSEL, -1, -1);
        SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(" "));
    }
}

} // namespace

void TakeCopiesAndSubject() {
    const std::string cc = AddressFieldText(IDC_CC_EDIT, kRecipientFieldLength);
    outgoingMessage.hasCc =
        ParseRecipientField(RecipientField::Cc, cc.c_str(), outgoingMessage.cc) > 0;
    const std::string bcc = AddressFieldText(IDC_BCC_EDIT, kRecipientFieldLength);
    outgoingMessage.hasBcc =
        ParseRecipientField(RecipientField::Bcc, bcc.c_str(), outgoingMessage.bcc) > 0;
    const std::string subject = AddressFieldText(IDC_SUBJECT_EDIT, kSubjectLength);
    CopyField(outgoingMessage.subject, kSubjectLength,
              subject == kSubjectPlaceholder ? "No Subject" : subject.c_str());
    outgoingMessage.alternative = htmlFormatting;
}

bool TakeBodyParts() {
    FillEmptyEditor(composeWindows.bodyEditor);
    if (!BuildBodyPart(composeWindows.bodyEditor, kBodyPartText)) {
        ShowMessageBox(nullptr, "Email Body Error", "Email Message Error - Body", MB_OK);
        return false;
    }
    if (outgoingMessage.alternative && !BuildBodyPart(composeWindows.bodyEditor, kBodyPartHtml)) {
        ShowMessageBox(nullptr, "Email Body Error", "Email Message Error - HTML", MB_OK);
        return false;
    }
    return true;
}

bool BuildBodyPart(HWND editor, int mode) {
    return mode == kBodyPartHtml ? BuildHtmlPartFromEditor(editor)
                                 : BuildTextPartFromEditor(editor);
}

void CollectAttachments() {
    bool removed = false;
    for (int slot = 0; slot < kAttachmentSlots;) {
        const char* path = attachmentTable.slots[slot].path;
        if (path[0] == '\0') {
            break;
        }
        const AttachmentFileChecks& disk = DiskFileChecks();
        const long long size = disk.canOpenForReading(path) ? disk.fileSize(path) : -1;
        if (size < 0) {
            char text[kAttachmentPathSize + 64];
            std::snprintf(text, sizeof text, "Couldn't find the attachment \"%s\"", path);
            ShowMessageBox(nullptr, text, "File Attachment Error", MB_OK);
            const std::string gone = path;
            RemoveAttachment(gone.c_str());
            removed = true;
            continue; // the next entry has moved into this slot
        }
        AddOutgoingAttachment(outgoingMessage, path,
                              size > 0xFFFFFFFFLL ? 0xFFFFFFFFu : static_cast<uint32_t>(size));
        ++slot;
    }
    if (removed && mailWindows.mainWindow) {
        PostMessageA(mailWindows.mainWindow, WM_RELAYOUT_BODY, 0, 0);
    }
}

bool PrepareOutgoingMessage() {
    ResetOutgoingMessage(outgoingMessage);
    alreadySent = 0;
    if (mailWindows.settings->useMapi == 0 && (!TakeSender() || !TakeRecipientsAndSubject())) {
        return false;
    }
    if (!TakeBodyParts()) {
        return false;
    }
    CollectAttachments();
    return true;
}
