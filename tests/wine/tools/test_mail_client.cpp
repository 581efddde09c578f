// A mail program for the Simple MAPI tests: the DLL a mail client registers under
// Software\Clients\Mail (DLLPath and DLLPathEx), to which the system's mapi32 hands every call.
// It appends each call and every field it receives to the file named by KESTRO_MAIL_LOG, one
// item a line (CR and LF inside a text as \r and \n), and answers as the environment says:
// KESTRO_MAIL_LOGON_RESULT and KESTRO_MAIL_SEND_RESULT are the results (default 0), and
// KESTRO_MAIL_CHOICE ("class:address;...") is the choice MAPIAddress returns.
#include <windows.h>

#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Environment(const char* name) {
    char value[4096] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length < sizeof value ? value : "";
}

std::string Shown(const char* text) {
    std::string shown = text ? "" : "<null>";
    for (; text && *text; ++text) {
        shown += *text == '\r' ? "\\r" : *text == '\n' ? "\\n" : std::string(1, *text);
    }
    return shown;
}

std::string N(ULONG_PTR value) {
    return std::to_string(value);
}

void Log(const std::string& line) {
    if (FILE* log = std::fopen(Environment("KESTRO_MAIL_LOG").c_str(), "ab")) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fclose(log);
    }
}

void LogRecipients(ULONG count, const MapiRecipDesc* recipients) {
    Log("recipients=" + N(count));
    for (ULONG i = 0; i < count; ++i) {
        const MapiRecipDesc& r = recipients[i];
        const bool other = r.ulReserved || r.ulEIDSize || r.lpEntryID;
        Log("recipient class=" + N(r.ulRecipClass) + " name=" + Shown(r.lpszName) +
            " address=" + Shown(r.lpszAddress) + (other ? " other=set" : " other=0"));
    }
}

// The records of the last MAPIAddress choice and the texts they point at.
std::vector<MapiRecipDesc> chosen;
std::vector<std::string> chosenAddresses;

} // namespace

extern "C" {

ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password, FLAGS flags, ULONG reserved,
                       LPLHANDLE session) {
    Log("MAPILogon ui=" + N(ui) + " profile=" + Shown(profile) + " password=" + Shown(password) +
        " flags=" + N(flags) + " reserved=" + N(reserved));
    *session = 0x4b45;
    return std::atoi(Environment("KESTRO_MAIL_LOGON_RESULT").c_str());
}

ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR ui, FLAGS flags, ULONG reserved) {
    Log("MAPILogoff session=" + N(session) + " ui=" + N(ui) + " flags=" + N(flags) +
        " reserved=" + N(reserved));
    return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui, lpMapiMessage m, FLAGS flags,
                          ULONG reserved) {
    Log("MAPISendMail session=" + N(session) + " ui=" + N(ui) + " flags=" + N(flags) +
        " reserved=" + N(reserved));
    const bool other = m->ulReserved || m->lpszMessageType || m->lpszDateReceived ||
                       m->lpszConversationID || m->flFlags || m->lpOriginator;
    Log(std::string("message other=") + (other ? "set" : "0"));
    Log("subject=" + Shown(m->lpszSubject));
    Log("note=" + Shown(m->lpszNoteText));
    LogRecipients(m->nRecipCount, m->lpRecips);
    Log("files=" + N(m->nFileCount));
    for (ULONG i = 0; i < m->nFileCount; ++i) {
        const MapiFileDesc& f = m->lpFiles[i];
        Log("file path=" + Shown(f.lpszPathName) + " position=" + N(f.nPosition) +
            " name=" + Shown(f.lpszFileName) + " type=" + (f.lpFileType ? "set" : "<null>") +
            " flags=" + N(f.flFlags));
    }
    return std::atoi(Environment("KESTRO_MAIL_SEND_RESULT").c_str());
}

ULONG WINAPI MAPIAddress(LHANDLE session, ULONG_PTR ui, LPSTR caption, ULONG editFields,
                         LPSTR labels, ULONG count, lpMapiRecipDesc recipients, FLAGS flags,
                         ULONG reserved, LPULONG newCount, lpMapiRecipDesc* newRecipients) {
    std::string slots; // four label slots of 10 bytes
    for (int slot = 0; slot < 4; ++slot) {
        slots +=
            (slot ? "|" : "") + std::string(labels + 10 * slot, strnlen(labels + 10 * slot, 10));
    }
    Log("MAPIAddress session=" + N(session) + " ui=" + N(ui) + " caption=" + Shown(caption) +
        " editfields=" + N(editFields) + " labels=" + slots + " flags=" + N(flags) +
        " reserved=" + N(reserved));
    LogRecipients(count, recipients);
    chosenAddresses.clear();
    std::vector<ULONG> classes;
    const std::string script = Environment("KESTRO_MAIL_CHOICE") + ";";
    for (size_t start = 0, end; (end = script.find(';', start)) != std::string::npos;
         start = end + 1) {
        const std::string item = script.substr(start, end - start);
        if (item.find(':') != std::string::npos) {
            classes.push_back(std::strtoul(item.c_str(), nullptr, 10));
            chosenAddresses.push_back(item.substr(item.find(':') + 1));
        }
    }
    chosen.assign(classes.size(), MapiRecipDesc{});
    for (size_t i = 0; i < chosen.size(); ++i) {
        chosen[i].ulRecipClass = classes[i];
        chosen[i].lpszName = const_cast<LPSTR>("Chosen Person");
        chosen[i].lpszAddress = &chosenAddresses[i][0];
    }
    *newCount = static_cast<ULONG>(chosen.size());
    *newRecipients = chosen.empty() ? nullptr : chosen.data();
    return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPIFreeBuffer(LPVOID buffer) {
    const bool known = !chosen.empty() && buffer == chosen.data();
    Log(std::string("MAPIFreeBuffer ") + (known ? "choice" : "unknown"));
    chosen.clear();
    return SUCCESS_SUCCESS;
}

} // extern "C"
