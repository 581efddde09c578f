// A mail program for the Simple MAPI tests: the DLL a mail client registers under
// Software\Clients\Mail (DLLPath and DLLPathEx), to which the system's mapi32 hands every call.
// It writes each call and every field it receives to the log file named by KESTRO_MAIL_LOG, one
// item a line (CR and LF inside a text as \r and \n), and answers as the environment says:
//   KESTRO_MAIL_LOGON_RESULT  MAPILogon's result (default 0)
//   KESTRO_MAIL_SEND_RESULT   MAPISendMail's result (default 0)
//   KESTRO_MAIL_CHOICE        MAPIAddress's choice, "class:address" items separated by ';'
#include <windows.h>

#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr LHANDLE kSession = 0x4b45;

std::string Environment(const char* name) {
    char value[4096] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

ULONG ScriptedResult(const char* name) {
    return std::strtoul(Environment(name).c_str(), nullptr, 10);
}

std::string Shown(const char* text) {
    if (text == nullptr) {
        return "<null>";
    }
    std::string shown;
    for (const char* c = text; *c; ++c) {
        shown += *c == '\r' ? "\\r" : *c == '\n' ? "\\n" : std::string(1, *c);
    }
    return shown;
}

void Log(const std::string& line) {
    const std::string path = Environment("KESTRO_MAIL_LOG");
    if (path.empty()) {
        return;
    }
    if (FILE* log = std::fopen(path.c_str(), "ab")) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fclose(log);
    }
}

std::string Number(ULONG_PTR value) {
    return std::to_string(value);
}

void LogRecipient(const MapiRecipDesc& r) {
    const bool otherZero = r.ulReserved == 0 && r.ulEIDSize == 0 && r.lpEntryID == nullptr;
    Log("recipient class=" + Number(r.ulRecipClass) + " name=" + Shown(r.lpszName) +
        " address=" + Shown(r.lpszAddress) + (otherZero ? " other=0" : " other=set"));
}

// The choice of MAPIAddress in one block, as a mail program hands it out.
struct Choice {
    std::vector<MapiRecipDesc> records;
    std::vector<std::string> addresses;
};
Choice* handedOut = nullptr;

} // namespace

extern "C" {

ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password, FLAGS flags, ULONG reserved,
                       LPLHANDLE session) {
    Log("MAPILogon ui=" + Number(ui) + " profile=" + Shown(profile) + " password=" +
        Shown(password) + " flags=" + Number(flags) + " reserved=" + Number(reserved));
    const ULONG result = ScriptedResult("KESTRO_MAIL_LOGON_RESULT");
    if (session != nullptr) {
        *session = result == SUCCESS_SUCCESS ? kSession : 0;
    }
    return result;
}

ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR ui, FLAGS flags, ULONG reserved) {
    Log("MAPILogoff session=" + Number(session) + " ui=" + Number(ui) + " flags=" + Number(flags) +
        " reserved=" + Number(reserved));
    return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui, lpMapiMessage message, FLAGS flags,
                          ULONG reserved) {
    Log("MAPISendMail session=" + Number(session) + " ui=" + Number(ui) +
        " flags=" + Number(flags) + " reserved=" + Number(reserved));
    if (message == nullptr) {
        return MAPI_E_FAILURE;
    }
    const bool otherZero = message->ulReserved == 0 && message->lpszMessageType == nullptr &&
                           message->lpszDateReceived == nullptr &&
                           message->lpszConversationID == nullptr && message->flFlags == 0 &&
                           message->lpOriginator == nullptr;
    Log(std::string("message other=") + (otherZero ? "0" : "set"));
    Log("subject=" + Shown(message->lpszSubject));
    Log("note=" + Shown(message->lpszNoteText));
    Log("recipients=" + Number(message->nRecipCount));
    for (ULONG i = 0; i < message->nRecipCount; ++i) {
        LogRecipient(message->lpRecips[i]);
    }
    Log("files=" + Number(message->nFileCount));
    for (ULONG i = 0; i < message->nFileCount; ++i) {
        const MapiFileDesc& f = message->lpFiles[i];
        Log("file path=" + Shown(f.lpszPathName) + " position=" + Number(f.nPosition) +
            " name=" + Shown(f.lpszFileName) + " type=" + (f.lpFileType ? "set" : "<null>") +
            " flags=" + Number(f.flFlags));
    }
    return ScriptedResult("KESTRO_MAIL_SEND_RESULT");
}

ULONG WINAPI MAPIAddress(LHANDLE session, ULONG_PTR ui, LPSTR caption, ULONG editFields,
                         LPSTR labels, ULONG count, lpMapiRecipDesc recipients, FLAGS flags,
                         ULONG reserved, LPULONG newCount, lpMapiRecipDesc* newRecipients) {
    std::string slots;
    for (int slot = 0; labels != nullptr && slot < 4; ++slot) {
        slots +=
            (slot ? "|" : "") + std::string(labels + 10 * slot, strnlen(labels + 10 * slot, 10));
    }
    Log("MAPIAddress session=" + Number(session) + " ui=" + Number(ui) +
        " caption=" + Shown(caption) + " editfields=" + Number(editFields) + " labels=" + slots +
        " flags=" + Number(flags) + " reserved=" + Number(reserved));
    Log("recipients=" + Number(count));
    for (ULONG i = 0; i < count; ++i) {
        LogRecipient(recipients[i]);
    }
    Choice* choice = new Choice;
    const std::string script = Environment("KESTRO_MAIL_CHOICE");
    for (size_t start = 0; start < script.size();) {
        size_t end = script.find(';', start);
        if (end == std::string::npos) {
            end = script.size();
        }
        const std::string item = script.substr(start, end - start);
        const size_t colon = item.find(':');
        if (colon != std::string::npos) {
            choice->addresses.push_back(item.substr(colon + 1));
            MapiRecipDesc record = {};
            record.ulRecipClass = std::strtoul(item.c_str(), nullptr, 10);
            choice->records.push_back(record);
        }
        start = end + 1;
    }
    for (size_t i = 0; i < choice->records.size(); ++i) {
        choice->records[i].lpszName = const_cast<LPSTR>("Chosen Person");
        choice->records[i].lpszAddress = &choice->addresses[i][0];
    }
    handedOut = choice;
    *newCount = static_cast<ULONG>(choice->records.size());
    *newRecipients = choice->records.empty() ? nullptr : choice->records.data();
    if (choice->records.empty()) {
        handedOut = nullptr;
        delete choice;
    }
    return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPIFreeBuffer(LPVOID buffer) {
    const bool known = handedOut != nullptr && buffer == handedOut->records.data();
    Log(std::string("MAPIFreeBuffer ") + (known ? "choice" : "unknown"));
    if (known) {
        delete handedOut;
        handedOut = nullptr;
    }
    return SUCCESS_SUCCESS;
}

} // extern "C"
