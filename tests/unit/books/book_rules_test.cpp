#include "books/account_book_rules.h"
#include "books/address_book_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The dialog's own cases (three addresses, an added entry, an emptied edit) are in
// tests/wine/books_test.cpp.
TEST(BookRules, FieldsBecomeOneAddressALineAndOnlyLongerTextsGoBack) {
    const char* to = "< click here to enter recipients >";
    EXPECT_EQ(RecipientEditText(to, to), "");
    EXPECT_EQ(RecipientEditText(" ;,Ann <a@x.org> ,;", to), "Ann\r\n<a@x.org>\r\n");
    std::string field;
    EXPECT_FALSE(FieldTextFromRecipientEdit("a\rb\n", field));
    EXPECT_EQ(field, "a b ");
    EXPECT_TRUE(FieldTextFromRecipientEdit("a@b.c", field));
    EXPECT_EQ(field, "a@b.c");
}

TEST(BookRules, AddressesSortByNameOrAddressIgnoringCase) {
    const AddressEntry ann = {"ann", "Zed@x.org"}, bob = {"Bob", "alf@y.net"};
    EXPECT_LT(CompareAddressEntries(ann, bob, 0), 0);
    EXPECT_GT(CompareAddressEntries(ann, bob, 1), 0);
    EXPECT_EQ(CompareAddressEntries({"ANN", ""}, {"ann", ""}, 0), 0);
    EXPECT_LT(CompareAddressEntries({"an", ""}, {"ANN", ""}, 0), 0);
}

TEST(BookRules, TheAccountListAddsTheCurrentIdentityOnce) {
    const std::string file = "Ann\r\nann@x.org\r\nsmtp.x.org\r\n\r\n";
    const struct {
        std::string file;
        AccountEntry current;
        const char* names;
    } cases[] = {
        {file, {"Ann", "ann@x.org", "other.server", "r@x.org"}, "[use MAPI][Ann|]"},
        {file, {"Ann", "ann@y.net", "smtp.y.net", ""}, "[use MAPI][Ann|][Ann|]"},
        {file, {"ann", "ann@x.org", "smtp.x.org", ""}, "[use MAPI][Ann|][ann|]"},
        {file, {"Bo", "bo@y.net", "", ""}, "[use MAPI][Ann|]"},
        {file, {"Bo", "", "mail.y.net", ""}, "[use MAPI][Ann|]"},
    };
    for (const auto& c : cases) {
        std::string names;
        for (const AccountEntry& e : OpeningAccountList(c.file, c.current)) {
            names += e.name == "use MAPI" ? "[use MAPI]" : "[" + e.name + "|" + e.replyTo + "]";
        }
        EXPECT_EQ(names, c.names) << c.current.name << " " << c.current.address;
    }
    EXPECT_TRUE(NewAccountIsKept({"", "a@x.org", "s", ""}));
    EXPECT_FALSE(NewAccountIsKept({"Ann", "a@x.org", "", "r"}));
    EXPECT_FALSE(NewAccountIsKept({"Ann", "", "s", "r"}));
    EXPECT_TRUE(EditedAccountIsKept({"", "a@x.org", "", ""}));
    EXPECT_FALSE(EditedAccountIsKept({"Ann", "", "s", "r"}));
}

int ReversedCompare(const char* a, const char* b) {
    return std::string(b).compare(a);
}

TEST(BookRules, AccountNamesSortIgnoringCaseOtherColumnsByThePlatform) {
    const AccountEntry a = {"ann", "a@x.org", "b", "r"}, b = {"Bob", "b@x.org", "a", "q"};
    EXPECT_LT(CompareAccountEntries(a, b, 0, ReversedCompare), 0);
    EXPECT_GT(CompareAccountEntries(a, b, 1, ReversedCompare), 0);
    EXPECT_LT(CompareAccountEntries(a, b, 1, nullptr), 0);
    EXPECT_EQ(AccountColumnText(a, 3), "r");
}

} // namespace
