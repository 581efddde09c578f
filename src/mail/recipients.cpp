#include "mail/recipients.h"

#include <cstring>

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == ';' || c == ',';
}

// The length of the text as a field read into a 4096-byte buffer holds it.
size_t FieldTextLength(const char* text) {
    size_t length = 0;
    while (length < static_cast<size_t>(kRecipientFieldLength - 1) && text[length] != '\0') {
        ++length;
    }
    return length;
}

} // namespace

const char* RecipientPlaceholder(RecipientField field) {
    switch (field) {
    case RecipientField::To:
        return "< click here to enter recipients >";
    case RecipientField::Cc:
        return "< click here to enter carbon copy recipients >";
    case RecipientField::Bcc:
        return "< click here to enter blind carbon copy recipients >";
    }
    return "";
}

bool IsValidAddress(const char* token) {
    if (token == nullptr || std::strlen(token) < 5) {
        return false;
    }
    if (std::strchr(token, '<') != nullptr || std::strchr(token, '>') != nullptr) {
        return false;
    }
    // The at sign may not be the first character, so the search starts at the second.
    const char* at = std::strchr(token + 1, '@');
    if (at == nullptr) {
        return false;
    }
    const char* dot = std::strchr(at + 1, '.');
    return dot != nullptr && dot[1] != '\0';
}

void ScanRecipients(const char* text, size_t maxLength, const RecipientSink& accept) {
    if (text == nullptr) {
        return;
    }
    const size_t length = FieldTextLength(text);

    char token[kRecipientTokenLength] = {};
    size_t tokenLength = 0;

    for (size_t i = 0; i < length; ++i) {
        if (!IsSeparator(text[i])) {
            // A full buffer already holds more than any address may have, so the token is
            // refused below whatever else would follow.
            if (tokenLength < sizeof token - 1) {
                token[tokenLength++] = text[i];
            }
        }
        if (i + 1 < length && !IsSeparator(text[i + 1])) {
            continue;
        }
        // The token is complete. An address that is too long is refused rather than cut,
        // since a shortened address would reach someone else.
        const bool fits = tokenLength < maxLength && tokenLength < sizeof token - 1;
        if (tokenLength > 0 && fits && IsValidAddress(token) && !accept(token, tokenLength)) {
            return;
        }
        std::memset(token, 0, sizeof token);
        tokenLength = 0;
    }
}

int ParseRecipients(const char* text, RecipientList& list) {
    std::memset(&list, 0, sizeof list);
    int count = 0;
    ScanRecipients(text, kRecipientLength, [&](const char* token, size_t tokenLength) {
        std::memcpy(list.entries[count], token, tokenLength);
        return ++count < kRecipientCount;
    });
    return count;
}

int ParseRecipientField(RecipientField field, const char* text, RecipientList& list) {
    if (text != nullptr && std::strcmp(text, RecipientPlaceholder(field)) == 0) {
        std::memset(&list, 0, sizeof list);
        return 0;
    }
    return ParseRecipients(text, list);
}
