#include "print/print_header.h"

#include <gtest/gtest.h>

#include "compose/placeholders.h"

namespace {

ProgramSettings Sender(int useMapi, const char* replyTo) {
    ProgramSettings settings = {};
    settings.useMapi = useMapi;
    CopyField(settings.userName, "Ann Lee");
    CopyField(settings.mailFrom, "ann@example.org");
    CopyField(settings.replyTo, replyTo);
    return settings;
}

TEST(PrintHeader, FieldsAndPlaceholders) {
    const AddressFieldTexts filled = {"bob@example.org", "carl@example.org", "dora@example.org",
                                      "Minutes"};
    const AddressFieldTexts empty = {kToPlaceholder, kCcPlaceholder, kBccPlaceholder,
                                     kSubjectPlaceholder};
    const struct {
        ProgramSettings settings;
        AddressFieldTexts fields;
        std::vector<std::string> lines;
    } cases[] = {
        {Sender(0, ""),
         filled,
         {"", "", "", "from:     Ann Lee <ann@example.org>", "to:       bob@example.org",
          "cc:       carl@example.org", "bcc:      dora@example.org", "subject:  Minutes", ""}},
        {Sender(0, "reply@example.org"),
         empty,
         {"", "", "", "from:     Ann Lee <reply@example.org>", "to:       No recipient",
          "cc:        ", "bcc:       ", "subject:  No subject", ""}},
        {Sender(1, "reply@example.org"),
         {"", "", "", ""},
         {"", "", "", "from:     send via MAPI",
          "to:       ", "cc:       ", "bcc:      ", "subject:  ", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatPrintHeader(c.settings, c.fields), c.lines);
    }
}

TEST(PrintHeader, LongToFieldPrintsItsFirst255Characters) {
    const AddressFieldTexts fields = {std::string(300, 'a'), "", "", ""};
    EXPECT_EQ(FormatPrintHeader(Sender(0, ""), fields)[4], "to:       " + std::string(255, 'a'));
}

TEST(PrintHeader, DocumentName) {
    EXPECT_EQ(PrintDocumentName("Kestro"), "Kes");
    EXPECT_EQ(PrintDocumentName("Re"), "Re");
    EXPECT_EQ(PrintDocumentName(""), "");
    EXPECT_EQ(PrintDocumentName(nullptr), "");
}

} // namespace
