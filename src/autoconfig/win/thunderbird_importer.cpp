// Thunderbird's profiles and the identities in each profile's prefs.js.
#include "autoconfig/win/importers.h"

#include <windows.h>

#include <shlobj.h>

#include <string>

#include "base/file_bytes.h"
#include "autoconfig/profiles_ini.h"
#include "autoconfig/thunderbird_accounts.h"
#include "autoconfig/user_prefs.h"
#include "autoconfig/win/ansi_text.h"

namespace {

// %APPDATA%\Thunderbird\ (the user's roaming application data folder).
std::string ThunderbirdFolder() {
    char appData[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        appData[0] = '\0';
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData))) {
            return {};
        }
    }
    std::string folder = appData;
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
    return folder + "Thunderbird\\";
}

} // namespace

void CollectThunderbirdAccounts(CandidateTable& table) {
    const std::string folder = ThunderbirdFolder();
    std::string ini;
    if (folder.empty() || !ReadFileBytes((folder + "profiles.ini").c_str(), ini)) {
        return;
    }
    // The file is UTF-8; its paths are opened with the single-byte functions.
    for (const std::string& profile : ReadProfilesIni(Utf8ToAnsi(ini), folder)) {
        std::string prefs;
        if (!ReadFileBytes((profile + "prefs.js").c_str(), prefs)) {
            continue;
        }
        for (const MailIdentity& identity : ThunderbirdIdentities(ParseUserPrefs(prefs))) {
            const std::string address = Utf8ToAnsi(identity.address);
            const std::string name = Utf8ToAnsi(identity.name);
            const std::string replyTo = Utf8ToAnsi(identity.replyTo);
            const std::string server = Utf8ToAnsi(identity.server);
            AddCandidate(table, {address.c_str(), name.c_str(), replyTo.c_str(), server.c_str(),
                                 identity.port, identity.security});
        }
    }
}
