#include "store/win/message_store.h"

#include <string>
#include <vector>

#include "base/file_bytes.h"
#include "base/file_copy.h"
#include "base/win/message_box.h"
#include "base/win/program_directory.h"
#include "compose/placeholders.h"
#include "compose/win/address_panel.h"
#include "compose/win/compose_windows.h"
#include "mail/win/send_preparation.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"
#include "store/saved_message_file.h"
#include "store/saved_message_names.h"
#include "store/win/body_rtf_stream.h"
#include "store/win/store_windows.h"

namespace {

// Fills outgoingMessage like the preparation of a send, except that no sender is needed and
// recipients that give no address are no error. False after a reported failure.
bool TakeSnapshot() {
    ResetOutgoingMessage(outgoingMessage); // alreadySent stays as it is
    const std::string to = AddressFieldText(IDC_TO_EDIT, kRecipientFieldLength);
    ParseRecipientField(RecipientField::To, to.c_str(), outgoingMessage.to);
    TakeCopiesAndSubject();
    if (!TakeBodyParts()) {
        return false;
    }
    CollectAttachments();
    return true;
}

bool SameFile(const std::string& a, const std::string& b) {
    char fullA[MAX_PATH * 4] = {};
    char fullB[MAX_PATH * 4] = {};
    if (GetFullPathNameA(a.c_str(), sizeof fullA, fullA, nullptr) == 0 ||
        GetFullPathNameA(b.c_str(), sizeof fullB, fullB, nullptr) == 0) {
        return false;
    }
    return lstrcmpiA(fullA, fullB) == 0;
}

// Copies the attached file into the message folder. A file that is already the copy (attached
// from this very folder) is left as it is.
bool CopyAttachment(const std::string& source, const std::string& copy) {
    return SameFile(source, copy) || CopyFileInBlocks(source.c_str(), copy.c_str());
}

SaveTime LocalSaveTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return SaveTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void ReportFailedSave(const std::string& path) {
    const std::string text = "The message could not be saved to\n" + path +
                             "\n\nCheck that the folder can be written to and that the disk is "
                             "not full.";
    ShowMessageBox(storeWindows.mainWindow, text.c_str(), kSaveReportCaption, MB_OK | MB_ICONSTOP);
}

void ReportFailedCopies(const std::vector<std::string>& failed) {
    std::string text = "The message was saved, but these attachments could not be copied into "
                       "its folder:\n";
    for (const std::string& path : failed) {
        text += "\n" + path;
    }
    ShowMessageBox(storeWindows.mainWindow, text.c_str(), kSaveReportCaption,
                   MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void SaveMessage(int silent) {
    // While a session is connected it sends from the snapshot; taking a new one would pull the
    // message out from under it.
    if (SendBlocksRecording(sendState)) {
        ShowMessageBox(storeWindows.mainWindow,
                       "The message is being sent.\nSave it when the send has finished.",
                       kSaveReportCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!TakeSnapshot()) {
        return;
    }
    const SaveTime time = LocalSaveTime();
    const std::string saveFolder = SaveFolderPath(programDirectory);
    const std::string folder = MessageFolderPath(programDirectory, time);
    const std::string date = SaveDateText(time);
    CreateDirectoryA(saveFolder.c_str(), nullptr); // both may exist already
    CreateDirectoryA(folder.c_str(), nullptr);

    const char* firstTo = outgoingMessage.to.entries[0];
    const std::string path = folder + "\\" + MessageFileName(firstTo, outgoingMessage.subject);

    const std::vector<std::string> copies = AttachmentCopyPaths(folder.c_str(), outgoingMessage);
    std::vector<std::string> failedCopies;
    for (size_t i = 0; i < copies.size(); ++i) {
        if (!CopyAttachment(outgoingMessage.attachmentPaths[i], copies[i])) {
            failedCopies.push_back(outgoingMessage.attachmentPaths[i]);
        }
    }

    std::string rtf;
    const bool bodyRead = WriteBodyRtf(composeWindows.bodyEditor, rtf);
    const std::string bytes =
        FormatSavedMessageFile(outgoingMessage, *storeWindows.settings, folder.c_str(),
                               date.c_str(), rtf.data(), rtf.size());
    if (!WriteFileBytes(path.c_str(), bytes) || !bodyRead) {
        ReportFailedSave(path);
        return;
    }
    if (!failedCopies.empty()) {
        ReportFailedCopies(failedCopies);
        return;
    }
    if (!silent) {
        const std::string report = FormatSaveReport(firstTo, outgoingMessage.subject, date.c_str());
        ShowMessageBox(storeWindows.mainWindow, report.c_str(), kSaveReportCaption, MB_OK);
    }
}
