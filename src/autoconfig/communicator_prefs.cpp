#include "autoconfig/communicator_prefs.h"

#include <cstring>

#include "autoconfig/source_lines.h"

namespace {

// The value starts two characters after the key (a blank and the quote) and ends before the
// last three characters of the line: `");`.
constexpr size_t kValueGap = 2;
constexpr size_t kClosingLength = 3;

bool TakeFixedValue(std::string_view line, std::string_view key, std::string& target) {
    const size_t at = line.find(key);
    if (at == std::string_view::npos) {
        return false;
    }
    const size_t start = at + key.size() + kValueGap;
    const size_t end = line.size() >= kClosingLength ? line.size() - kClosingLength : 0;
    target.assign(start < end ? line.substr(start, end - start) : std::string_view());
    return true;
}

} // namespace

CommunicatorSettings ReadCommunicatorPrefs(std::string_view text) {
    CommunicatorSettings settings;
    ForEachSourceLine(text, [&](std::string_view line) {
        TakeFixedValue(line, "user_pref(\"mail.identity.useremail\",", settings.address) ||
            TakeFixedValue(line, "user_pref(\"mail.identity.username\",", settings.name) ||
            TakeFixedValue(line, "user_pref(\"network.hosts.smtp_server\",", settings.server) ||
            TakeFixedValue(line, "user_pref(\"mail.identity.reply_to\",", settings.replyTo);
    });
    return settings;
}

UsersEntry ClassifyUsersEntry(const char* name, unsigned attributes) {
    if (name == nullptr || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
        return UsersEntry::PassOver;
    }
    if (attributes == kEntryDirectory) {
        return UsersEntry::Profile;
    }
    if (attributes == kEntryArchive) {
        return UsersEntry::EndWithBeep;
    }
    return UsersEntry::PassOver;
}
