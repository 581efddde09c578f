// The sender settings of a Communicator profile's prefs.js, read at the fixed positions the
// program writes them at, and the rule that picks the profiles in the USERS folder.
#pragma once

#include <string>
#include <string_view>

struct CommunicatorSettings {
    std::string address;
    std::string name;
    std::string replyTo;
    std::string server;
};

// A line holding `user_pref("mail.identity.useremail",` (or username, reply_to,
// network.hosts.smtp_server) gives the text that starts after the key, a blank and the opening
// quote, and ends before the closing quote, parenthesis and semicolon. A line too short for
// that gives an empty value. Values are taken raw, escapes and all.
CommunicatorSettings ReadCommunicatorPrefs(std::string_view text);

// The attribute bits of a directory entry that the profile scan looks at.
constexpr unsigned kEntryDirectory = 0x10;
constexpr unsigned kEntryArchive = 0x20;

enum class UsersEntry {
    Profile,     // a folder: read its prefs.js
    PassOver,    // "." and "..", and entries with other attributes
    EndWithBeep, // a plain file ends the scan
};

UsersEntry ClassifyUsersEntry(const char* name, unsigned attributes);
