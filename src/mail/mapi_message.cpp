#include "mail/mapi_message.h"

#include "base/hex_text.h"

#include <cstdio>
#include <cstring>

#include "compose/placeholders.h"
#include "mail/mime_builder.h"
#include "mail/recipients.h"

namespace {

constexpr int kSubHeaderLineBreaks = 10; // CR and LF characters of a text part's sub-headers

void CollectField(RecipientField field, unsigned long recipClass, const char* text,
                  std::vector<MapiRecipient>& recipients) {
    if (recipients.size() >= kMapiRecipientLimit || text == nullptr ||
        std::strcmp(text, RecipientPlaceholder(field)) == 0) {
        return;
    }
    ScanRecipients(text, kRecipientTokenLength, [&](const char* token, size_t length) {
        recipients.push_back({recipClass, std::string(token, length)});
        return recipients.size() < kMapiRecipientLimit;
    });
}

// Soft line breaks ("=" CR LF) vanish and "=XX" becomes its byte; any other "=" stays.
std::string DecodeQuotedPrintable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (text.compare(i + 1, 2, "\r\n") == 0) {
            i += 2;
        } else if (i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
                   HexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += '=';
        }
    }
    return out;
}

// A dot that starts a line went out doubled for SMTP.
std::string WithSingleLeadingDots(const char* content, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const bool lineStart = i == 0 || content[i - 1] == '\n';
        if (lineStart && content[i] == '.' && i + 1 < length && content[i + 1] == '.') {
            ++i;
        }
        out += content[i];
    }
    return out;
}

const char* MapiErrorName(unsigned long code) {
    static const char* const kNames[] = {
        "success",
        "cancelled by the user",
        "failure",
        "logon failure",
        "disk full",
        "insufficient memory",
        "access denied",
        "unknown error",
        "too many sessions",
        "too many files",
        "too many recipients",
        "attachment not found",
        "attachment open failure",
        "attachment write failure",
        "unknown recipient",
        "bad recipient type",
        "no messages",
        "invalid message",
        "text too large",
        "invalid session",
        "type not supported",
        "ambiguous recipient",
        "message in use",
        "network failure",
        "invalid edit fields",
        "invalid recipients",
        "not supported",
    };
    return code < sizeof kNames / sizeof kNames[0] ? kNames[code] : "unknown error";
}

} // namespace

std::vector<MapiRecipient> CollectMapiRecipients(const char* to, const char* cc, const char* bcc) {
    std::vector<MapiRecipient> recipients;
    CollectField(RecipientField::To, kMapiTo, to, recipients);
    CollectField(RecipientField::Cc, kMapiCc, cc, recipients);
    CollectField(RecipientField::Bcc, kMapiBcc, bcc, recipients);
    return recipients;
}

bool HasMapiToRecipient(const std::vector<MapiRecipient>& recipients) {
    for (const MapiRecipient& recipient : recipients) {
        if (recipient.recipClass == kMapiTo) {
            return true;
        }
    }
    return false;
}

std::string MapiSubject(const std::string& subjectField) {
    return subjectField == kSubjectPlaceholder ? "No subject" : subjectField;
}

std::string MapiNoteText(const char* textPart, size_t length) {
    size_t start = 0;
    for (int breaks = 0; start < length && breaks < kSubHeaderLineBreaks; ++start) {
        if (textPart[start] == '\r' || textPart[start] == '\n') {
            ++breaks;
        }
    }
    const std::string subHeaders(textPart, start);
    std::string note = WithSingleLeadingDots(textPart + start, length - start);
    if (subHeaders.find("quoted-printable") != std::string::npos) {
        note = DecodeQuotedPrintable(note);
    }
    return note + kPlainTrailerText;
}

std::string MapiChosenFieldText(const std::vector<MapiRecipient>& chosen,
                                unsigned long recipClass) {
    std::string text;
    for (const MapiRecipient& recipient : chosen) {
        if (recipient.recipClass != recipClass || recipient.address.empty()) {
            continue;
        }
        if (text.size() + 2 + recipient.address.size() < kMapiFieldTextLength) {
            text += "  " + recipient.address;
        }
    }
    return text;
}

std::string MapiSendFailureText(unsigned long code) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "The mail program could not send the message (MAPI error %lu: %s)", code,
                  MapiErrorName(code));
    return text;
}
