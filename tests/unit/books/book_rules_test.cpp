#include "books/account_book_rules.h"
#include "books/address_book_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kToPlaceholder = "< click here to enter recipients >";

TEST(AddressBookRules, FieldsBecomeOneAddressALine) {
    const struct {
        const char* field;
        const char* edit;
    } cases[] = {
        {kToPlaceholder, ""},
        {"", ""},
        {"a@x.org, b@y.net;c@z.com", "a@x.org\r\nb@y.net\r\nc@z.com\r\n"},
        {" ;,a@x.org ,; b@y.net,", "a@x.org\r\nb@y.net\r\n"},
        {"Ann <a@x.org>", "Ann\r\n<a@x.org>\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecipientEditText(c.field, kToPlaceholder), c.edit) << c.field;
    }
}

TEST(AddressBookRules, ChosenAddressesFollowABlank) {
    std::string edit;
    AppendRecipientLine(edit, "a@x.org");
    EXPECT_EQ(edit, " a@x.org\r\n");
    edit = "b@y.net\r\n";
    AppendRecipientLine(edit, "c@z.com");
    EXPECT_EQ(edit, "b@y.net\r\n c@z.com\r\n");
}

TEST(AddressBookRules, OnlyTextsLongerThanFourCharactersReplaceAField) {
    const struct {
        const char* edit;
        bool replaces;
        const char* field;
    } cases[] = {
        {"b@y.net\r\n c@z.com\r\n", true, "b@y.net   c@z.com  "},
        {"", false, ""},
        {" \r\n\r", false, "    "},
        {"a@b.c", true, "a@b.c"},
        {"a\rb\n", false, "a b "},
    };
    for (const auto& c : cases) {
        std::string field;
        EXPECT_EQ(FieldTextFromRecipientEdit(c.edit, field), c.replaces) << c.edit;
        EXPECT_EQ(field, c.field);
    }
}

TEST(AddressBookRules, SortsByNameOrAddressIgnoringCase) {
    const AddressEntry ann = {"ann", "Zed@x.org"};
    const AddressEntry bob = {"Bob", "alf@y.net"};
    EXPECT_LT(CompareAddressEntries(ann, bob, 0), 0);
    EXPECT_GT(CompareAddressEntries(ann, bob, 1), 0);
    EXPECT_EQ(CompareAddressEntries({"ANN", ""}, {"ann", ""}, 0), 0);
    EXPECT_LT(CompareAddressEntries({"an", ""}, {"ANN", ""}, 0), 0);
    EXPECT_EQ(AddressColumnText(bob, 1), "alf@y.net");
}

std::string Names(const std::vector<AccountEntry>& list) {
    std::string names;
    for (const AccountEntry& e : list) {
        names += "[" + e.name + "]";
    }
    return names;
}

TEST(AccountBookRules, TheOpeningListAddsTheCurrentIdentityOnce) {
    const std::string file = "Ann\r\nann@x.org\r\nsmtp.x.org\r\n\r\n";
    const struct {
        std::string file;
        AccountEntry current;
        const char* names;
    } cases[] = {
        {"", {"Bo", "bo@y.net", "mail.y.net", ""}, "[use MAPI][Bo]"},
        {file, {"Ann", "ann@x.org", "other.server", "r@x.org"}, "[use MAPI][Ann]"},
        {file, {"Ann", "ann@y.net", "smtp.y.net", ""}, "[use MAPI][Ann][Ann]"},
        {file, {"ann", "ann@x.org", "smtp.x.org", ""}, "[use MAPI][Ann][ann]"},
        {file, {"Bo", "bo@y.net", "", ""}, "[use MAPI][Ann]"},
        {file, {"Bo", "", "mail.y.net", ""}, "[use MAPI][Ann]"},
    };
    for (const auto& c : cases) {
        const std::vector<AccountEntry> list = OpeningAccountList(c.file, c.current);
        EXPECT_EQ(Names(list), c.names) << c.current.name << " " << c.current.address;
        EXPECT_EQ(list.front().address, " ");
    }
    const std::vector<AccountEntry> list =
        OpeningAccountList("", {"Bo", "bo@y.net", "mail.y.net", "r@y.net"});
    EXPECT_EQ(list.back().replyTo, "r@y.net");
}

TEST(AccountBookRules, NewNeedsAddressAndServerEditOnlyTheAddress) {
    EXPECT_TRUE(NewAccountIsKept({"", "a@x.org", "s", ""}));
    EXPECT_FALSE(NewAccountIsKept({"Ann", "a@x.org", "", "r"}));
    EXPECT_FALSE(NewAccountIsKept({"Ann", "", "s", "r"}));
    EXPECT_TRUE(EditedAccountIsKept({"", "a@x.org", "", ""}));
    EXPECT_FALSE(EditedAccountIsKept({"Ann", "", "s", "r"}));
}

int ReversedCompare(const char* a, const char* b) {
    return std::string(b).compare(a);
}

TEST(AccountBookRules, NamesSortIgnoringCaseOtherColumnsByThePlatform) {
    const AccountEntry a = {"ann", "a@x.org", "b.server", "r2"};
    const AccountEntry b = {"Bob", "b@x.org", "a.server", "r1"};
    EXPECT_LT(CompareAccountEntries(a, b, 0, ReversedCompare), 0);
    EXPECT_GT(CompareAccountEntries(a, b, 1, ReversedCompare), 0);
    EXPECT_LT(CompareAccountEntries(a, b, 2, ReversedCompare), 0);
    EXPECT_LT(CompareAccountEntries(a, b, 3, ReversedCompare), 0);
    EXPECT_GT(CompareAccountEntries(a, b, 3, nullptr), 0);
    EXPECT_EQ(AccountColumnText(a, 2), "b.server");
}

} // namespace
