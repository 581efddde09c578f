// The header block of a printed message (sender, recipients, subject) and the name of the job.
#pragma once

#include <string>
#include <vector>

#include "base/program_settings.h"

// The To, CC, BCC and Subject texts as the address fields hold them, placeholders included.
struct AddressFieldTexts {
    std::string to;
    std::string cc;
    std::string bcc;
    std::string subject;
};

// The lines above the body on the first page (kFirstBodyLine of them): "from:", "to:", "cc:",
// "bcc:" and "subject:" on lines 3 to 7, the others empty. A field showing its placeholder
// prints "No recipient", a blank or "No subject".
std::vector<std::string> FormatPrintHeader(const ProgramSettings& settings,
                                           const AddressFieldTexts& fields);

// The spooler's name of the job: the first three characters of the main window's caption.
std::string PrintDocumentName(const char* caption);
