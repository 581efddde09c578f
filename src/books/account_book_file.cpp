#include "books/account_book_file.h"

#include "books/book_lines.h"

AccountEntry UseMapiAccount() {
    return {kUseMapiAccountName, " ", " ", ""};
}

bool IsUseMapiAccount(const AccountEntry& entry) {
    return entry.name == kUseMapiAccountName;
}

std::vector<AccountEntry> ParseAccountBook(const std::string& text) {
    std::vector<AccountEntry> entries;
    size_t position = 0;
    AccountEntry entry;
    while (ReadBookLine(text, position, kAccountNameLimit, entry.name) &&
           ReadBookLine(text, position, kAccountFieldLimit, entry.address) &&
           ReadBookLine(text, position, kAccountFieldLimit, entry.server) &&
           ReadBookLine(text, position, kAccountFieldLimit, entry.replyTo)) {
        entries.push_back(entry);
    }
    return entries;
}

std::string FormatAccountBook(const std::vector<AccountEntry>& entries) {
    std::string text;
    for (const AccountEntry& entry : entries) {
        if (IsUseMapiAccount(entry)) {
            continue;
        }
        AppendBookLine(text, entry.name);
        AppendBookLine(text, entry.address);
        AppendBookLine(text, entry.server);
        AppendBookLine(text, entry.replyTo);
    }
    return text;
}
