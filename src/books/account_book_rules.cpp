#include "books/account_book_rules.h"

std::vector<AccountEntry> OpeningAccountList(const std::string& fileText,
                                             const AccountEntry& current) {
    std::vector<AccountEntry> list{UseMapiAccount()};
    const std::vector<AccountEntry> stored = ParseAccountBook(fileText);
    list.insert(list.end(), stored.begin(), stored.end());
    for (const AccountEntry& entry : list) {
        if (entry.name == current.name && entry.address == current.address) {
            return list;
        }
    }
    if (!current.address.empty() && !current.server.empty()) {
        list.push_back(current);
    }
    return list;
}

bool NewAccountIsKept(const AccountEntry& entry) {
    return !entry.address.empty() && !entry.server.empty();
}

bool EditedAccountIsKept(const AccountEntry& entry) {
    return !entry.address.empty();
}

const std::string& AccountColumnText(const AccountEntry& entry, int column) {
    switch (column) {
    case 1:
        return entry.address;
    case 2:
        return entry.server;
    case 3:
        return entry.replyTo;
    default:
        return entry.name;
    }
}

int CompareAccountEntries(const AccountEntry& a, const AccountEntry& b, int column,
                          PlatformTextCompare platformCompare) {
    if (column == 0 || platformCompare == nullptr) {
        return CompareTextNoCase(AccountColumnText(a, column), AccountColumnText(b, column));
    }
    return platformCompare(AccountColumnText(a, column).c_str(),
                           AccountColumnText(b, column).c_str());
}
