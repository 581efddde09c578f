#include "print/print_header.h"

#include "compose/placeholders.h"
#include "compose/sender_line.h"
#include "print/page_layout.h"

namespace {

constexpr size_t kToPrintLength = 255; // the To line prints the field's first 255 characters

std::string FieldOrStandIn(const std::string& text, const char* placeholder, const char* standIn) {
    return text == placeholder ? standIn : text;
}

} // namespace

std::vector<std::string> FormatPrintHeader(const ProgramSettings& settings,
                                           const AddressFieldTexts& fields) {
    std::vector<std::string> lines(kFirstBodyLine);
    lines[3] = "from:     " + FormatSenderLine(settings);
    lines[4] = "to:       " +
               FieldOrStandIn(fields.to, kToPlaceholder, "No recipient").substr(0, kToPrintLength);
    lines[5] = "cc:       " + FieldOrStandIn(fields.cc, kCcPlaceholder, " ");
    lines[6] = "bcc:      " + FieldOrStandIn(fields.bcc, kBccPlaceholder, " ");
    lines[7] = "subject:  " + FieldOrStandIn(fields.subject, kSubjectPlaceholder, "No subject");
    return lines;
}

std::string PrintDocumentName(const char* caption) {
    const std::string text = caption ? caption : "";
    return text.substr(0, 3);
}
