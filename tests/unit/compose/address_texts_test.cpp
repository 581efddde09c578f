// The texts the address panel shows of itself: the sender line and the empty fields' prompts.
#include "compose/placeholders.h"
#include "compose/sender_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SenderLine, NamesTheSenderWithTheReplyToAddressFirst) {
    const struct {
        int useMapi;
        const char* replyTo;
        std::string name;
        const char* line;
    } cases[] = {{1, "", "Ann Lee", "send via MAPI"},
                 {0, "", "Ann Lee", "Ann Lee <ann@example.com>"},
                 {2, "replies@example.com", "Ann Lee", "Ann Lee <replies@example.com>"}};
    for (const auto& c : cases) {
        ProgramSettings settings = {};
        settings.useMapi = c.useMapi;
        CopyField(settings.userName, c.name.c_str());
        CopyField(settings.mailFrom, "ann@example.com");
        CopyField(settings.replyTo, c.replyTo);
        EXPECT_EQ(FormatSenderLine(settings), c.line);
    }
    // The line is cut to 511 characters.
    ProgramSettings settings = {};
    for (size_t length : {254u, 255u}) {
        const std::string name(length, 'n');
        const std::string address(256, 'a');
        CopyField(settings.userName, name.c_str());
        CopyField(settings.mailFrom, address.c_str());
        const std::string whole = std::string(settings.userName) + " <" + settings.mailFrom + ">";
        EXPECT_EQ(FormatSenderLine(settings), whole.substr(0, 511)) << whole.size();
    }
}

TEST(Placeholders, EachAddressFieldHasItsOwn) {
    EXPECT_STREQ(PlaceholderForField(1071), kToPlaceholder);
    EXPECT_STREQ(PlaceholderForField(1072), kCcPlaceholder);
    EXPECT_STREQ(PlaceholderForField(1073), kBccPlaceholder);
    EXPECT_STREQ(PlaceholderForField(1074), kSubjectPlaceholder);
    EXPECT_EQ(PlaceholderForField(1070), nullptr); // the sender line has none
    EXPECT_EQ(PlaceholderForField(1075), nullptr);
}

} // namespace
