#include "mail/recipients.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The stored addresses up to the first empty entry, joined by '|'.
std::string Joined(const RecipientList& list) {
    std::string joined;
    for (int i = 0; i < kRecipientCount && list.entries[i][0] != '\0'; ++i) {
        joined += (i ? "|" : "") + std::string(list.entries[i]);
    }
    return joined;
}

TEST(Recipients, CutsAtSeparatorsInOrder) {
    RecipientList list;
    EXPECT_EQ(ParseRecipients("ann@a.org, bob@b.net;cy@c.com", list), 3);
    EXPECT_EQ(Joined(list), "ann@a.org|bob@b.net|cy@c.com");
    EXPECT_EQ(ParseRecipients(",,ann@a.org,,  ;bob@b.net; ", list), 2);
    EXPECT_EQ(Joined(list), "ann@a.org|bob@b.net");
    // Tab and line break are part of the token, not separators.
    EXPECT_EQ(ParseRecipients("ann@a.org\tbob@b.net", list), 1);
    EXPECT_STREQ(list.entries[0], "ann@a.org\tbob@b.net");
}

TEST(Recipients, RejectedTokensAreDroppedAndTheListRebuilt) {
    RecipientList list;
    ParseRecipients("old@x.org", list);
    EXPECT_EQ(ParseRecipients("Ann Smith <ann@a.org>", list), 0);
    EXPECT_EQ(ParseRecipients("   ", list), 0);
    EXPECT_EQ(ParseRecipients("", list), 0);
    EXPECT_EQ(ParseRecipients("nobody x@y. ann@a.org", list), 1);
    EXPECT_EQ(Joined(list), "ann@a.org");
    for (int i = 1; i < kRecipientCount; ++i) {
        EXPECT_EQ(std::string(list.entries[i], kRecipientLength), std::string(kRecipientLength, 0));
    }
}

TEST(Recipients, PlaceholderCountsAsEmpty) {
    RecipientList list;
    EXPECT_STREQ(RecipientPlaceholder(RecipientField::Bcc),
                 "< click here to enter blind carbon copy recipients >");
    EXPECT_EQ(ParseRecipientField(RecipientField::To, "< click here to enter recipients >", list),
              0);
    EXPECT_EQ(ParseRecipientField(RecipientField::Cc, "ann@a.org", list), 1);
}

TEST(Recipients, StopsWhenTheListIsFull) {
    std::string text;
    for (int i = 0; i < 70; ++i) {
        text += "u" + std::to_string(i) + "@host.org ";
    }
    RecipientList list;
    EXPECT_EQ(ParseRecipients(text.c_str(), list), 64);
    EXPECT_STREQ(list.entries[63], "u63@host.org");
}

TEST(Recipients, LongTokensAreRefusedWithoutOverrun) {
    const std::string fits = std::string(57, 'a') + "@b.org"; // 63 characters
    const std::string tooLong = "a" + fits;                   // 64 characters
    const std::string huge = std::string(300, 'a') + "@b.org";
    RecipientList list;
    EXPECT_EQ(ParseRecipients((tooLong + " " + fits + "," + huge).c_str(), list), 1);
    EXPECT_EQ(Joined(list), fits);
    // Only the first 4095 characters of a field are looked at.
    const std::string field = std::string(4085, ';') + "ann@a.orgxyz.com";
    EXPECT_EQ(ParseRecipients(field.c_str(), list), 1);
    EXPECT_EQ(Joined(list), "ann@a.orgx");
}

TEST(Recipients, AddressShape) {
    EXPECT_TRUE(IsValidAddress("a@b.c"));
    EXPECT_TRUE(IsValidAddress("a@.cd"));
    EXPECT_TRUE(IsValidAddress("a@b@c.d"));
    EXPECT_FALSE(IsValidAddress("@b.cd"));
    EXPECT_FALSE(IsValidAddress("abcd@"));
    EXPECT_FALSE(IsValidAddress("ab@cd."));
    EXPECT_FALSE(IsValidAddress("a.b@cd"));
    EXPECT_FALSE(IsValidAddress("a@b."));
    EXPECT_FALSE(IsValidAddress("<a@b.cd>"));
}

} // namespace
