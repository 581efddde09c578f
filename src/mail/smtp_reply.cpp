#include "mail/smtp_reply.h"

#include <cstring>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void FinishLine(SmtpReplyReader& reader) {
    const size_t kept = reader.lineLength;
    const bool continued = kept == 4 && reader.lineStart[3] == '-';
    if (!continued) {
        reader.complete = 1;
        if (kept >= 3 && IsDigit(reader.lineStart[0]) && IsDigit(reader.lineStart[1]) &&
            IsDigit(reader.lineStart[2])) {
            reader.code = (reader.lineStart[0] - '0') * 100 + (reader.lineStart[1] - '0') * 10 +
                          (reader.lineStart[2] - '0');
        }
    }
    reader.lineLength = 0;
    if (reader.lineKept > 0 && reader.line[reader.lineKept - 1] == '\r') {
        reader.line[--reader.lineKept] = '\0';
    }
    reader.lineEnded = 1;
}

} // namespace

void StartSmtpReply(SmtpReplyReader& reader) {
    std::memset(&reader, 0, sizeof reader);
}

size_t FeedSmtpReply(SmtpReplyReader& reader, const char* data, size_t length) {
    if (reader.lineEnded) {
        reader.lineEnded = 0;
        reader.lineKept = 0;
        reader.line[0] = '\0';
        ++reader.lineNumber;
    }
    size_t taken = 0;
    while (taken < length && !reader.complete && !reader.lineEnded) {
        const char c = data[taken++];
        if (reader.textLength + 1 < kSmtpReplyTextSize) {
            reader.text[reader.textLength++] = c;
            reader.text[reader.textLength] = '\0';
        }
        if (c == '\n') {
            FinishLine(reader);
            continue;
        }
        if (reader.lineKept + 1 < kSmtpReplyLineSize) {
            reader.line[reader.lineKept++] = c;
            reader.line[reader.lineKept] = '\0';
        }
        // Only the first four bytes of a line matter: the code and the continuation mark.
        if (reader.lineLength < 4) {
            reader.lineStart[reader.lineLength++] = c;
        }
    }
    return taken;
}
