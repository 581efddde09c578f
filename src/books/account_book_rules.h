// The rules of the account book dialog: the list it opens with, which new and edited entries
// are kept, the column texts and the sort order.
#pragma once

#include <string>
#include <vector>

#include "books/account_book_file.h"
#include "books/book_lines.h"

// The list at opening: the "use MAPI" entry, the entries of the file's text and, when no entry
// has the current identity's name and address (compared exactly) and the identity has both an
// address and a server, the current identity last.
std::vector<AccountEntry> OpeningAccountList(const std::string& fileText,
                                             const AccountEntry& current);

// New keeps an entry with an address and a server; Edit keeps one with an address.
bool NewAccountIsKept(const AccountEntry& entry);
bool EditedAccountIsKept(const AccountEntry& entry);

// Column 0 the name, 1 the address, 2 the server, 3 the reply address.
const std::string& AccountColumnText(const AccountEntry& entry, int column);

// The ascending order of a sort by column: names with the letters A-Z and a-z taken as equal,
// the other columns by the platform's case-insensitive comparison.
int CompareAccountEntries(const AccountEntry& a, const AccountEntry& b, int column,
                          PlatformTextCompare platformCompare);
