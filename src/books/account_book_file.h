// The account book file, accbook.ini: four lines an entry (name, address, SMTP server, reply
// address, which may be an empty line), CR LF, in list order, without header or count. The
// "use MAPI" entry of the dialog is never written.
#pragma once

#include <string>
#include <vector>

constexpr size_t kAccountNameLimit = 254;   // characters a name keeps
constexpr size_t kAccountFieldLimit = 1022; // characters an address, server or reply keeps

// A sender identity; the fields map to USERNAME, MAILFROM, SERVERNAME and REPLYTO.
struct AccountEntry {
    std::string name;
    std::string address;
    std::string server;
    std::string replyTo;
};

constexpr const char* kUseMapiAccountName = "use MAPI";

// The entry that stands for sending through Simple MAPI: "use MAPI", a blank address and
// server, no reply address.
AccountEntry UseMapiAccount();

// True for an entry named exactly "use MAPI".
bool IsUseMapiAccount(const AccountEntry& entry);

// The entries of the file's text. A record that lacks its address, server or reply line is
// dropped.
std::vector<AccountEntry> ParseAccountBook(const std::string& text);

// The file's text: every entry but those named "use MAPI".
std::string FormatAccountBook(const std::vector<AccountEntry>& entries);
