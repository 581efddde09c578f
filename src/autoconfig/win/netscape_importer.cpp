// Navigator's registry settings and Communicator's profile folders.
#include "autoconfig/win/importers.h"

#include <string>

#include "base/file_bytes.h"
#include "base/win/scoped_handles.h"
#include "autoconfig/communicator_prefs.h"
#include "autoconfig/mail_handler.h"
#include "autoconfig/win/mail_programs.h"
#include "autoconfig/win/registry_reader.h"

namespace {

void AddCommunicatorProfile(CandidateTable& table, const std::string& usersFolder,
                            const char* profile) {
    std::string bytes;
    if (!ReadFileBytes((usersFolder + profile + "\\prefs.js").c_str(), bytes)) {
        return;
    }
    const CommunicatorSettings settings = ReadCommunicatorPrefs(bytes);
    if (settings.address.empty()) {
        return;
    }
    const char* server = settings.server.empty() ? "mail" : settings.server.c_str();
    AddCandidate(table, {settings.address.c_str(), settings.name.c_str(), settings.replyTo.c_str(),
                         server, 0, ConnectionSecurity::Unknown});
}

} // namespace

void CollectNavigatorAccount(CandidateTable& table) {
    char server[kCandidateFieldSize] = {};
    if (!ReadRegistryString(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Services",
                            "SMTP_Server", server)) {
        return;
    }
    const char* user = "Software\\Netscape\\Netscape Navigator\\User";
    char address[kCandidateFieldSize] = {};
    char name[kCandidateFieldSize] = {};
    char replyTo[kCandidateFieldSize] = {};
    ReadRegistryString(HKEY_CURRENT_USER, user, "User_Addr", address);
    ReadRegistryString(HKEY_CURRENT_USER, user, "User_Name", name);
    ReadRegistryString(HKEY_CURRENT_USER, user, "Reply_To", replyTo);
    if (address[0] == '\0' || server[0] == '\0') {
        return;
    }
    AddCandidate(table, {address, name, replyTo, server, 0, ConnectionSecurity::Unknown});
}

void CollectCommunicatorAccounts(CandidateTable& table, bool useBrowserCommand) {
    char command[kCommandLineSize] = {};
    const bool read =
        useBrowserCommand ? ReadBrowserCommand(command) : ReadMailHandlerCommand(command);
    std::string folder;
    if (!read ||
        !FolderBeforeProgramName(command, "COMMUNICATOR", "Communicator", "communicator", folder)) {
        return;
    }
    const std::string usersFolder = folder + "USERS\\";
    WIN32_FIND_DATAA entry = {};
    const ScopedFindHandle search(FindFirstFileA((usersFolder + "*").c_str(), &entry));
    if (!search) {
        return;
    }
    do {
        switch (ClassifyUsersEntry(entry.cFileName, entry.dwFileAttributes)) {
        case UsersEntry::Profile:
            AddCommunicatorProfile(table, usersFolder, entry.cFileName);
            break;
        case UsersEntry::EndWithBeep:
            MessageBeep(MB_OK);
            return;
        case UsersEntry::PassOver:
            break;
        }
    } while (FindNextFileA(search.get(), &entry));
}
