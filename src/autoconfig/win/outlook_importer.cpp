// Outlook and Outlook Express accounts from the registry.
#include "autoconfig/win/importers.h"

#include <string>

#include "autoconfig/registry_values.h"
#include "autoconfig/win/ansi_text.h"
#include "autoconfig/win/registry_reader.h"

namespace {

constexpr int kAccountKeys = 32; // 00 to 1f
constexpr int kOmiVersions = 32; // 8.0 to 11.1

int ReadPort(const std::string& key, const char* valueName) {
    std::string bytes;
    if (!ReadRegistryData(HKEY_CURRENT_USER, key.c_str(), valueName, bytes)) {
        return 0;
    }
    return PortFromBinary(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// An account key of the Internet or OMI Account Manager: text values, an account when it has
// an SMTP server.
void AddAccountManagerAccount(CandidateTable& table, const std::string& key) {
    char server[kCandidateFieldSize] = {};
    if (!ReadRegistryString(HKEY_CURRENT_USER, key.c_str(), "SMTP Server", server)) {
        return;
    }
    char address[kCandidateFieldSize] = {};
    char name[kCandidateFieldSize] = {};
    char replyTo[kCandidateFieldSize] = {};
    ReadRegistryString(HKEY_CURRENT_USER, key.c_str(), "SMTP Email Address", address);
    ReadRegistryString(HKEY_CURRENT_USER, key.c_str(), "SMTP Display Name", name);
    ReadRegistryString(HKEY_CURRENT_USER, key.c_str(), "SMTP Reply To Email Address", replyTo);
    AddCandidate(table, {address, name, replyTo, server, ReadPort(key, "SMTP Port"),
                         ConnectionSecurity::Unknown});
}

// A value of a mail profile's account: UTF-16 text in binary data.
bool ReadProfileText(const std::string& key, const char* valueName, std::string& text) {
    std::string bytes;
    if (!ReadRegistryData(HKEY_CURRENT_USER, key.c_str(), valueName, bytes)) {
        text.clear();
        return false;
    }
    text = Utf8ToAnsi(
        Utf16BinaryToUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    return true;
}

void AddProfileAccount(CandidateTable& table, const std::string& key) {
    std::string server;
    if (!ReadProfileText(key, "SMTP Server", server)) {
        return; // not a mail account (an Exchange account, or the profile's own settings)
    }
    std::string address;
    std::string name;
    ReadProfileText(key, "Email", address);
    ReadProfileText(key, "Display Name", name);
    AddCandidate(table, {address.c_str(), name.c_str(), "", server.c_str(),
                         ReadPort(key, "SMTP Port"), ConnectionSecurity::Unknown});
}

} // namespace

void CollectOutlookAccounts(CandidateTable& table) {
    for (int i = 0; i < kAccountKeys; ++i) {
        AddAccountManagerAccount(table, InternetAccountKey(i));
    }
    for (int version = 0; version < kOmiVersions; ++version) {
        for (int i = 0; i < kAccountKeys; ++i) {
            AddAccountManagerAccount(table, OmiAccountKey(version, i));
        }
    }
    for (int major = 12; major <= 16; ++major) {
        const std::string profiles = OutlookProfilesKey(major);
        for (const std::string& profile : RegistrySubkeys(HKEY_CURRENT_USER, profiles.c_str())) {
            const std::string accounts = OutlookAccountsKey(major, profile);
            for (const std::string& account :
                 RegistrySubkeys(HKEY_CURRENT_USER, accounts.c_str())) {
                AddProfileAccount(table, accounts + "\\" + account);
            }
        }
    }
}
