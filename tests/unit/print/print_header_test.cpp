#include "print/print_header.h"

#include <gtest/gtest.h>

#include "compose/placeholders.h"

namespace {

// The header block's nine lines, joined by '|'.
std::string Header(int useMapi, const AddressFieldTexts& fields) {
    ProgramSettings settings = {};
    settings.useMapi = useMapi;
    CopyField(settings.userName, "Ann Lee");
    CopyField(settings.mailFrom, "ann@example.org");
    CopyField(settings.replyTo, "reply@example.org");
    std::string joined;
    for (const std::string& line : FormatPrintHeader(settings, fields)) {
        joined += line + "|";
    }
    return joined;
}

TEST(PrintHeader, FieldsAndPlaceholders) {
    EXPECT_EQ(
        Header(0, {std::string(300, 'a'), kCcPlaceholder, "dora@example.org", kSubjectPlaceholder}),
        "|||from:     Ann Lee <reply@example.org>|to:       " + std::string(255, 'a') +
            "|cc:        |bcc:      dora@example.org|subject:  No subject||");
    EXPECT_EQ(Header(1, {kToPlaceholder, "carl@example.org", kBccPlaceholder, "Minutes"}),
              "|||from:     send via MAPI|to:       No recipient|cc:       carl@example.org|"
              "bcc:       |subject:  Minutes||");
}

} // namespace
