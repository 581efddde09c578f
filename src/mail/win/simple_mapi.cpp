#include "mail/win/simple_mapi.h"

#include <mapi.h>

#include <string>
#include <vector>

#include "base/win/message_box.h"
#include "base/win/scoped_handles.h"
#include "compose/win/address_panel.h"
#include "mail/mapi_message.h"
#include "mail/mime_builder.h"
#include "mail/outgoing_message.h"
#include "mail/win/message_sent_dialog.h"
#include "mail/win/send_preparation.h"
#include "mail/win/send_state.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* kMapiErrorCaption = "MAPI Error";
constexpr const char* kMissingCaption = "Simple MAPI not available";
constexpr const char* kMissingForSend =
    "No mail program on this computer offers Simple MAPI, so Kestro cannot hand the message to "
    "one.\nTo send with Kestro's own SMTP client, choose \"use SMTP account\" in the Email "
    "Settings (Options > Program Settings > Advanced).";
constexpr const char* kMissingForAddressBook =
    "No mail program on this computer offers Simple MAPI, so its address book cannot open.\n"
    "Kestro's own address book stays available (untick \"use MAPI Address book\" in the Program "
    "Settings), and Kestro's own SMTP client sends when you choose \"use SMTP account\" in the "
    "Email Settings (Options > Program Settings > Advanced).";
constexpr const char* kAddressBookCaption = "Kestro common address book";
constexpr ULONG kAddressEditFields = 4;

struct SimpleMapi {
    ScopedModule library;
    LPMAPILOGON logon;
    LPMAPILOGOFF logoff;
    LPMAPISENDMAIL sendMail;
    LPMAPIADDRESS address;
    LPMAPIFREEBUFFER freeBuffer;
};
SimpleMapi mapi;

template <typename Entry> bool Take(Entry& entry, const char* name) {
    entry =
        reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(mapi.library.get(), name)));
    return entry != nullptr;
}

bool HasDefaultMailClient(HKEY root) {
    DWORD size = 0;
    return RegGetValueA(root, "Software\\Clients\\Mail", nullptr,
                        RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, nullptr,
                        &size) == ERROR_SUCCESS &&
           size > 1;
}

bool ReportIfMissing(HWND mainWindow, const char* text) {
    if (SimpleMapiAvailable()) {
        return false;
    }
    ShowMessageBox(mainWindow, text, kMissingCaption, MB_OK | MB_ICONEXCLAMATION);
    return true;
}

bool Logon(HWND mainWindow, LHANDLE& session) {
    session = 0;
    const ULONG result = mapi.logon(reinterpret_cast<ULONG_PTR>(mainWindow), nullptr, nullptr,
                                    MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session);
    if (result != SUCCESS_SUCCESS) {
        ShowMessageBox(mainWindow, "Error Logging on to MAPI service", kMapiErrorCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

void Logoff(HWND mainWindow, LHANDLE session) {
    mapi.logoff(session, reinterpret_cast<ULONG_PTR>(mainWindow), 0, 0);
}

std::vector<MapiRecipient> CollectFromFields() {
    const std::string to = AddressFieldText(IDC_TO_EDIT, kRecipientFieldLength);
    const std::string cc = AddressFieldText(IDC_CC_EDIT, kRecipientFieldLength);
    const std::string bcc = AddressFieldText(IDC_BCC_EDIT, kRecipientFieldLength);
    return CollectMapiRecipients(to.c_str(), cc.c_str(), bcc.c_str());
}

// The recipient records with their own copies of each address, as name and as address.
struct RecipientRecords {
    explicit RecipientRecords(const std::vector<MapiRecipient>& recipients)
        : names(recipients.size()), addresses(recipients.size()), records(recipients.size()) {
        for (size_t i = 0; i < recipients.size(); ++i) {
            names[i] = recipients[i].address;
            addresses[i] = recipients[i].address;
            records[i] = MapiRecipDesc{};
            records[i].ulRecipClass = recipients[i].recipClass;
            records[i].lpszName = &names[i][0];
            records[i].lpszAddress = &addresses[i][0];
        }
    }
    MapiRecipDesc* data() { return records.empty() ? nullptr : records.data(); }
    ULONG count() const { return static_cast<ULONG>(records.size()); }

    std::vector<std::string> names;
    std::vector<std::string> addresses;
    std::vector<MapiRecipDesc> records;
};

std::vector<MapiFileDesc> FileRecords() {
    std::vector<MapiFileDesc> files;
    for (int i = 0; i < outgoingMessage.attachmentCount && i < kMaxAttachments; ++i) {
        char* path = outgoingMessage.attachmentPaths[i];
        if (path[0] == '\0') {
            break;
        }
        MapiFileDesc file = {};
        file.lpszPathName = path;
        files.push_back(file);
    }
    return files;
}

} // namespace

void LoadMapi() {
    UnloadMapi();
    mapi.library.reset(LoadLibraryA("mapi32.dll"));
    if (!mapi.library) {
        return;
    }
    if (Take(mapi.logon, "MAPILogon") && Take(mapi.logoff, "MAPILogoff") &&
        Take(mapi.sendMail, "MAPISendMail") && Take(mapi.address, "MAPIAddress")) {
        Take(mapi.freeBuffer, MAKEINTRESOURCEA(17));
    }
}

void UnloadMapi() {
    mapi.logon = nullptr;
    mapi.logoff = nullptr;
    mapi.sendMail = nullptr;
    mapi.address = nullptr;
    mapi.freeBuffer = nullptr;
    mapi.library.reset();
}

bool SimpleMapiAvailable() {
    return mapi.logon && mapi.logoff && mapi.sendMail && mapi.address && mapi.freeBuffer &&
           (HasDefaultMailClient(HKEY_CURRENT_USER) || HasDefaultMailClient(HKEY_LOCAL_MACHINE));
}

void MapiSendCommand(HWND mainWindow) {
    if (ReportIfMissing(mainWindow, kMissingForSend)) {
        return;
    }
    const std::vector<MapiRecipient> collected = CollectFromFields();
    if (!HasMapiToRecipient(collected)) {
        ShowMessageBox(mainWindow,
                       "Please enter an e-mail address in the\nTo: address field before sending.",
                       "To: address field is empty", MB_OK | MB_ICONEXCLAMATION);
        SetFocus(AddressEdit(IDC_TO_EDIT));
        return;
    }
    LHANDLE session = 0;
    if (!Logon(mainWindow, session)) {
        return;
    }
    RecipientRecords recipients(collected);
    std::string subject = MapiSubject(AddressFieldText(IDC_SUBJECT_EDIT, kSubjectLength));
    PrepareOutgoingMessage(); // on this path it only builds the text part and the attachments
    std::string note = outgoingMessage.textPart != nullptr
                           ? MapiNoteText(outgoingMessage.textPart, outgoingMessage.textLength)
                           : std::string(kPlainTrailerText);
    std::vector<MapiFileDesc> files = FileRecords();

    MapiMessage message = {};
    message.lpszSubject = &subject[0];
    message.lpszNoteText = &note[0];
    message.nRecipCount = recipients.count();
    message.lpRecips = recipients.data();
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.empty() ? nullptr : files.data();
    const ULONG result =
        mapi.sendMail(session, reinterpret_cast<ULONG_PTR>(mainWindow), &message, 0, 0);

    ResetOutgoingMessage(outgoingMessage);
    Logoff(mainWindow, session);
    if (result == SUCCESS_SUCCESS) {
        const HINSTANCE instance =
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
        DialogBoxParamA(instance, "MESSAGE_SENT", mainWindow, MessageSentDialogProc, 0);
    } else if (result != MAPI_USER_ABORT) {
        ShowMessageBox(mainWindow, MapiSendFailureText(result).c_str(), kMapiErrorCaption,
                       MB_OK | MB_ICONEXCLAMATION);
    }
}

void MapiAddressCommand(HWND mainWindow) {
    if (ReportIfMissing(mainWindow, kMissingForAddressBook)) {
        return;
    }
    LHANDLE session = 0;
    if (!Logon(mainWindow, session)) {
        return;
    }
    RecipientRecords current(CollectFromFields());
    char labels[4][10] = {"TO:", "CC:", "BCC:", "what?"};
    std::string caption = kAddressBookCaption;
    ULONG chosenCount = 0;
    lpMapiRecipDesc chosen = nullptr;
    mapi.address(session, reinterpret_cast<ULONG_PTR>(mainWindow), &caption[0], kAddressEditFields,
                 labels[0], current.count(), current.data(), MAPI_NEW_SESSION, 0, &chosenCount,
                 &chosen);
    if (chosen != nullptr) {
        std::vector<MapiRecipient> picked;
        for (ULONG i = 0; i < chosenCount; ++i) {
            const char* address = chosen[i].lpszAddress;
            picked.push_back({chosen[i].ulRecipClass, address != nullptr ? address : ""});
        }
        const int fields[3] = {IDC_TO_EDIT, IDC_CC_EDIT, IDC_BCC_EDIT};
        for (unsigned long recipClass = kMapiTo; recipClass <= kMapiBcc; ++recipClass) {
            const std::string text = MapiChosenFieldText(picked, recipClass);
            if (!text.empty()) {
                SetWindowTextA(AddressEdit(fields[recipClass - kMapiTo]), text.c_str());
            }
        }
        mapi.freeBuffer(chosen);
    }
    Logoff(mainWindow, session);
}
