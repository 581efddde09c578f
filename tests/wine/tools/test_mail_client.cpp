// A mail program for the Simple MAPI tests: the DLL a mail client registers under
// Software\Clients\Mail (DLLPath and DLLPathEx), to which the system's mapi32 hands every call.
// It appends each call and every field it receives to the file named by KESTRO_MAIL_LOG, one
// item a line (CR and LF inside a text as \r and \n), and answers as the environment says:
// KESTRO_MAIL_LOGON_RESULT and KESTRO_MAIL_SEND_RESULT are the results (default 0), and
// KESTRO_MAIL_CHOICE ("class address ...", "-" for an empty address) is the choice MAPIAddress
// returns.
#include <windows.h>

#include <mapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Environment(const char* name) {
    char value[4096] = {};
    return GetEnvironmentVariableA(name, value, sizeof value) < sizeof value ? value : "";
}

std::string Shown(const char* text) {
    std::string shown = text ? "" : "<null>";
    for (; text && *text; ++text) {
        shown += *text == '\r' ? "\\r" : *text == '\n' ? "\\n" : std::string(1, *text);
    }
    return shown;
}

void Log(const char* format, ...) {
    if (FILE* log = std::fopen(Environment("KESTRO_MAIL_LOG").c_str(), "ab")) {
        va_list arguments;
        va_start(arguments, format);
        std::vfprintf(log, format, arguments);
        va_end(arguments);
        std::fputc('\n', log);
        std::fclose(log);
    }
}

void LogRecipients(ULONG count, const MapiRecipDesc* recipients) {
    Log("recipients=%lu", count);
    for (const MapiRecipDesc* r = recipients; r < recipients + count; ++r) {
        Log("recipient class=%lu name=%s address=%s other=%s", r->ulRecipClass,
            Shown(r->lpszName).c_str(), Shown(r->lpszAddress).c_str(),
            r->ulReserved || r->ulEIDSize || r->lpEntryID ? "set" : "0");
    }
}

// The records of the last MAPIAddress choice and the texts they point at.
std::vector<MapiRecipDesc> chosen;
std::vector<std::string> chosenAddresses;

} // namespace

extern "C" {

ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password, FLAGS flags, ULONG reserved,
                       LPLHANDLE session) {
    Log("MAPILogon ui=%llu profile=%s password=%s flags=%lu reserved=%lu",
        static_cast<unsigned long long>(ui), Shown(profile).c_str(), Shown(password).c_str(), flags,
        reserved);
    *session = 0x4b45;
    return std::atoi(Environment("KESTRO_MAIL_LOGON_RESULT").c_str());
}

ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR ui, FLAGS flags, ULONG reserved) {
    Log("MAPILogoff session=%llu ui=%llu flags=%lu reserved=%lu",
        static_cast<unsigned long long>(session), static_cast<unsigned long long>(ui), flags,
        reserved);
    return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui, lpMapiMessage m, FLAGS flags,
                          ULONG reserved) {
    Log("MAPISendMail session=%llu ui=%llu flags=%lu reserved=%lu",
        static_cast<unsigned long long>(session), static_cast<unsigned long long>(ui), flags,
        reserved);
    const bool other = m->ulReserved || m->lpszMessageType || m->lpszDateReceived ||
                       m->lpszConversationID || m->flFlags || m->lpOriginator;
    Log("message other=%s\nsubject=%s\nnote=%s", other ? "set" : "0", Shown(m->lpszSubject).c_str(),
        Shown(m->lpszNoteText).c_str());
    LogRecipients(m->nRecipCount, m->lpRecips);
    Log("files=%lu", m->nFileCount);
    for (const MapiFileDesc* f = m->lpFiles; f < m->lpFiles + m->nFileCount; ++f) {
        Log("file path=%s position=%lu name=%s type=%s flags=%lu", Shown(f->lpszPathName).c_str(),
            f->nPosition, Shown(f->lpszFileName).c_str(), f->lpFileType ? "set" : "<null>",
            f->flFlags);
    }
    return std::atoi(Environment("KESTRO_MAIL_SEND_RESULT").c_str());
}

ULONG WINAPI MAPIAddress(LHANDLE session, ULONG_PTR ui, LPSTR caption, ULONG editFields,
                         LPSTR labels, ULONG count, lpMapiRecipDesc recipients, FLAGS flags,
                         ULONG reserved, LPULONG newCount, lpMapiRecipDesc* newRecipients) {
    // The labels are four slots of 10 bytes.
    Log("MAPIAddress session=%llu ui=%llu caption=%s editfields=%lu labels=%.10s|%.10s|%.10s|%.10s "
        "flags=%lu reserved=%lu",
        static_cast<unsigned long long>(session), static_cast<unsigned long long>(ui),
        Shown(caption).c_str(), editFields, labels, labels + 10, labels + 20, labels + 30, flags,
        reserved);
    LogRecipients(count, recipients);
    chosen.clear();
    chosenAddresses.clear();
    std::istringstream script(Environment("KESTRO_MAIL_CHOICE"));
    ULONG recipClass = 0;
    for (std::string address; script >> recipClass >> address;) {
        chosen.push_back({0, recipClass, const_cast<LPSTR>("Chosen Person"), nullptr, 0, nullptr});
        chosenAddresses.push_back(address == "-" ? "" : address);
    }
    for (size_t i = 0; i < chosen.size(); ++i) {
        chosen[i].lpszAddress = &chosenAddresses[i][0];
    }
    *newCount = static_cast<ULONG>(chosen.size());
    *newRecipients = chosen.empty() ? nullptr : chosen.data();
    return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPIFreeBuffer(LPVOID buffer) {
    Log("MAPIFreeBuffer %s", !chosen.empty() && buffer == chosen.data() ? "choice" : "unknown");
    chosen.clear();
    return SUCCESS_SUCCESS;
}

} // extern "C"
