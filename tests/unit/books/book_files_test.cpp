#include "books/account_book_file.h"
#include "books/address_book_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Joined(const std::vector<AddressEntry>& entries) {
    std::string joined;
    for (const AddressEntry& e : entries) {
        joined += "[" + e.name + "|" + e.address + "]";
    }
    return joined;
}

std::string Joined(const std::vector<AccountEntry>& entries) {
    std::string joined;
    for (const AccountEntry& e : entries) {
        joined += "[" + e.name + "|" + e.address + "|" + e.server + "|" + e.replyTo + "]";
    }
    return joined;
}

// An odd line count and a record without its reply line are read through the dialogs in
// tests/wine/books_test.cpp.
TEST(BookFiles, AddressBookReadsTwoLinesAnEntry) {
    const std::string name(300, 'n'), address(5000, 'a');
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Ann Lee\r\nann@x.org\r\nBo\r\nbo@y.net\r\n", "[Ann Lee|ann@x.org][Bo|bo@y.net]"},
        // A last line without a line break keeps its last character.
        {"Ann\nann@x.org\nBob\r\nbob@example.org", "[Ann|ann@x.org][Bob|bob@example.org]"},
        // Empty lines are empty fields; a CR that ends no line stays.
        {"\r\n\r\nA\rB\r\nx@y.z\r\n", "[|][A\rB|x@y.z]"},
        // Overlong lines keep what fits and never spill into the next field.
        {name + "\r\nann@x.org\r\nBo\r\n" + address + "\r\nCy\r\ncy@z.org\r\n",
         "[" + name.substr(0, 254) + "|ann@x.org][Bo|" + address.substr(0, 4094) +
             "][Cy|cy@z.org]"},
    };
    for (const auto& [text, entries] : cases) {
        EXPECT_EQ(Joined(ParseAddressBook(text)), entries) << text.substr(0, 60);
    }
}

TEST(BookFiles, AddressBookWritesTheEntriesInOrderWithCrLf) {
    const std::string bytes = "Zoe\r\nzoe@x.org\r\n\r\nanon@y.net\r\n";
    EXPECT_EQ(FormatAddressBook({{"Zoe", "zoe@x.org"}, {"", "anon@y.net"}}), bytes);
    EXPECT_EQ(FormatAddressBook(ParseAddressBook(bytes)), bytes);
    // A line break inside a field would shift every later record.
    EXPECT_EQ(FormatAddressBook({{"A\r\nB", "a@x.org\n"}}), "A  B\r\na@x.org \r\n");
}

TEST(BookFiles, AccountBookReadsFourLinesAnEntry) {
    const std::string ann = "Ann\r\nann@x.org\r\nsmtp.x.org\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {ann + "\r\nBo\r\nbo@y.net\r\nmail.y.net\r\nr@y.net\r\n",
         "[Ann|ann@x.org|smtp.x.org|][Bo|bo@y.net|mail.y.net|r@y.net]"},
        // A last line without a line break keeps its last character.
        {ann + "reply@x.org", "[Ann|ann@x.org|smtp.x.org|reply@x.org]"},
        {std::string(260, 'n') + "\r\n" + std::string(1100, 'a') +
             "\r\ns\r\nr\r\nB\r\nb\r\nt\r\n\r\n",
         "[" + std::string(254, 'n') + "|" + std::string(1022, 'a') + "|s|r][B|b|t|]"},
    };
    for (const auto& [text, entries] : cases) {
        EXPECT_EQ(Joined(ParseAccountBook(text)), entries) << text.substr(0, 60);
    }
}

TEST(BookFiles, AccountBookWritesEveryEntryButUseMapi) {
    const std::string bytes = "Ann\r\nann@x.org\r\nsmtp.x.org\r\n\r\n";
    EXPECT_EQ(FormatAccountBook({UseMapiAccount(),
                                 {"Ann", "ann@x.org", "smtp.x.org", ""},
                                 {"use MAPI", "u@x.org", "s", ""}}),
              bytes);
    EXPECT_EQ(Joined({UseMapiAccount()}), "[use MAPI| | |]");
    EXPECT_FALSE(IsUseMapiAccount({"use mapi", "", "", ""}));
}

} // namespace
