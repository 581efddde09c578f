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

TEST(AddressBookFile, ReadsTwoLinesAnEntry) {
    const std::string longName(300, 'n');
    const std::string longAddress(5000, 'a');
    const struct {
        std::string text;
        std::string entries;
    } cases[] = {
        {"", ""},
        {"Ann Lee\r\nann@x.org\r\nBo\r\nbo@y.net\r\n", "[Ann Lee|ann@x.org][Bo|bo@y.net]"},
        // A last line without a line break keeps its last character.
        {"Ann\r\nann@x.org\r\nBob\r\nbob@example.org", "[Ann|ann@x.org][Bob|bob@example.org]"},
        {"Ann\nann@x.org\n", "[Ann|ann@x.org]"},
        // A name without its address line is dropped.
        {"Ann\r\nann@x.org\r\nodd\r\n", "[Ann|ann@x.org]"},
        // Empty lines are empty fields; a CR that ends no line stays.
        {"\r\n\r\nA\rB\r\nx@y.z\r\n", "[|][A\rB|x@y.z]"},
        // Overlong lines keep what fits and never spill into the next field.
        {longName + "\r\nann@x.org\r\nBo\r\n" + longAddress + "\r\nCy\r\ncy@z.org\r\n",
         "[" + std::string(254, 'n') + "|ann@x.org][Bo|" + std::string(4094, 'a') +
             "][Cy|cy@z.org]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Joined(ParseAddressBook(c.text)), c.entries) << c.text.substr(0, 60);
    }
}

TEST(AddressBookFile, WritesTheEntriesInOrderWithCrLf) {
    EXPECT_EQ(FormatAddressBook({}), "");
    const std::vector<AddressEntry> book = {{"Zoe", "zoe@x.org"}, {"", "anon@y.net"}};
    const std::string bytes = "Zoe\r\nzoe@x.org\r\n\r\nanon@y.net\r\n";
    EXPECT_EQ(FormatAddressBook(book), bytes);
    EXPECT_EQ(FormatAddressBook(ParseAddressBook(bytes)), bytes);
    // A line break inside a field would shift every later record.
    EXPECT_EQ(FormatAddressBook({{"A\r\nB", "a@x.org\n"}}), "A  B\r\na@x.org \r\n");
}

TEST(AccountBookFile, ReadsFourLinesAnEntry) {
    const struct {
        std::string text;
        std::string entries;
    } cases[] = {
        {"", ""},
        {"Ann\r\nann@x.org\r\nsmtp.x.org\r\n\r\nBo\r\nbo@y.net\r\nmail.y.net\r\nr@y.net\r\n",
         "[Ann|ann@x.org|smtp.x.org|][Bo|bo@y.net|mail.y.net|r@y.net]"},
        // The last record lacks its reply line, or its last line its line break.
        {"Ann\r\nann@x.org\r\nsmtp.x.org\r\n\r\nBo\r\nbo@y.net\r\nmail.y.net\r\n",
         "[Ann|ann@x.org|smtp.x.org|]"},
        {"Ann\r\nann@x.org\r\nsmtp.x.org\r\nreply@x.org", "[Ann|ann@x.org|smtp.x.org|reply@x.org]"},
        {std::string(260, 'n') + "\r\n" + std::string(1100, 'a') +
             "\r\ns\r\nr\r\nB\r\nb\r\nt\r\n\r\n",
         "[" + std::string(254, 'n') + "|" + std::string(1022, 'a') + "|s|r][B|b|t|]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Joined(ParseAccountBook(c.text)), c.entries) << c.text.substr(0, 60);
    }
}

TEST(AccountBookFile, WritesEveryEntryButUseMapi) {
    const std::vector<AccountEntry> book = {
        UseMapiAccount(), {"Ann", "ann@x.org", "smtp.x.org", ""}, {"use MAPI", "u@x.org", "s", ""}};
    const std::string bytes = "Ann\r\nann@x.org\r\nsmtp.x.org\r\n\r\n";
    EXPECT_EQ(FormatAccountBook(book), bytes);
    EXPECT_EQ(Joined(ParseAccountBook(bytes)), "[Ann|ann@x.org|smtp.x.org|]");
    EXPECT_EQ(Joined({UseMapiAccount()}), "[use MAPI| | |]");
    EXPECT_FALSE(IsUseMapiAccount({"use mapi", "", "", ""}));
}

} // namespace
