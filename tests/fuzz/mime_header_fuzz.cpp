// The MIME header builder: whatever the names, addresses, subject and file name, every line of
// the header block and of an attachment's sub-headers ends in CR LF and is at most 998 octets
// long, a line that is not a header's first is a folded one (it starts with a blank or a tab),
// the blocks end as they must, the To line unfolds to its one-line form, and nothing overruns.
#include "fuzz_support.h"

#include <cstring>

#include "app/settings_file.h"
#include "mail/mail_encoding.h"
#include "mail/mime_builder.h"
#include "mail/outgoing_message.h"

namespace {

// Checks the lines of a header block (without the empty line that ends it) and returns the
// block unfolded: CR LF lines of at most 998 octets, each one starting a header ("Name:") or
// folded (a blank or a tab first, and more than blanks).
std::string CheckHeaderLines(const std::string& text) {
    CheckCrLfLines(text, kSmtpLineLimit);
    std::string unfolded;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find("\r\n", start);
        FUZZ_CHECK(end != std::string::npos);
        const std::string line = text.substr(start, end - start);
        const bool folded = start > 0 && (line[0] == ' ' || line[0] == '\t');
        FUZZ_CHECK(folded ? line.find_first_not_of(" \t") != std::string::npos
                          : line.find(':') != std::string::npos);
        unfolded += (start == 0 || folded ? "" : "\r\n") + line;
        start = end + 2;
    }
    return unfolded + "\r\n";
}

std::string WithoutLineBreaks(std::string text) {
    for (char& c : text) {
        c = c == '\r' || c == '\n' ? ' ' : c;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> texts = FuzzTexts(data, size, 7);
    ProgramSettings settings = {};
    CopyField(settings.userName, texts[0]);
    CopyField(settings.mailFrom, texts[1]);
    CopyField(settings.replyTo, texts[2]);
    static OutgoingMessage message; // large: kept out of the stack
    message = OutgoingMessage{};
    ParseRecipients(texts[3].c_str(), message.to);
    ParseRecipients(texts[4].c_str(), message.cc);
    CopyField(message.subject, texts[5]);
    char messageId[kMessageIdSize];
    FormatMessageId(1709625423, 4242, 7, settings.mailFrom, messageId, sizeof messageId);

    static char block[kHeaderBlockSize];
    const size_t length = BuildHeaderBlock(settings, message, "Tue, 05 Mar 2024 09:07:03 +0100",
                                           messageId, block, sizeof block);
    FUZZ_CHECK(length + 1 < sizeof block && std::strlen(block) == length);
    const std::string header(block, length);
    // The first empty line is the one that ends the headers, before the preamble.
    const std::string preamble = "\r\n\r\nmultipart message in MIME format\r\n";
    const size_t end = header.find("\r\n\r\n");
    FUZZ_CHECK(end != std::string::npos && header.compare(end, std::string::npos, preamble) == 0);
    const std::string unfolded = CheckHeaderLines(header.substr(0, end + 2));
    if (message.to.entries[0][0] != '\0') {
        std::string to = "\r\nTo:";
        for (int i = 0; i < kRecipientCount && message.to.entries[i][0] != '\0'; ++i) {
            to +=
                std::string(i == 0 ? " <" : ", <") + WithoutLineBreaks(message.to.entries[i]) + ">";
        }
        FUZZ_CHECK(("\r\n" + unfolded).find(to + "\r\n") != std::string::npos);
    }

    std::string path = texts[6].substr(0, kAttachmentPathLength - 1);
    static char part[kAttachmentHeaderSize];
    const size_t partLength = BuildAttachmentHeader(path.c_str(), part, sizeof part);
    FUZZ_CHECK(partLength + 1 < sizeof part && std::strlen(part) == partLength);
    const std::string sub(part, partLength);
    // The part opens with the empty line and boundary and ends with its own empty line.
    const std::string opening = std::string("\r\n--") + kMainBoundary + "\r\n";
    FUZZ_CHECK(sub.compare(0, opening.size(), opening) == 0);
    FUZZ_CHECK(sub.size() >= opening.size() + 4 && sub.compare(sub.size() - 4, 4, "\r\n\r\n") == 0);
    CheckHeaderLines(sub.substr(opening.size(), sub.size() - 2 - opening.size()));
    return 0;
}
