#include "mail/smtp_extensions.h"

#include <cstring>

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The word of text[from, end) that starts at `at`, ended by a blank or '=': its end.
size_t WordEnd(const char* text, size_t at, size_t end) {
    while (at < end && text[at] != ' ' && text[at] != '=') {
        ++at;
    }
    return at;
}

bool WordIs(const char* text, size_t from, size_t to, const char* keyword) {
    const size_t length = std::strlen(keyword);
    if (to - from != length) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (Upper(text[from + i]) != keyword[i]) {
            return false;
        }
    }
    return true;
}

// The decimal number of text[from, to); 0 when it is not one. Limits beyond 64 bits are held
// at the largest value.
uint64_t SizeValue(const char* text, size_t from, size_t to) {
    uint64_t value = 0;
    for (size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return 0;
        }
        const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        value = value > (UINT64_MAX - digit) / 10 ? UINT64_MAX : value * 10 + digit;
    }
    return value;
}

} // namespace

void ClearSmtpExtensions(SmtpExtensions& extensions) {
    std::memset(&extensions, 0, sizeof extensions);
}

void ReadEhloLine(SmtpExtensions& extensions, const char* line, size_t length, int lineNumber) {
    // "250-KEYWORD params" or "250 KEYWORD params": the keyword starts at the fifth character.
    if (lineNumber == 0 || length <= 4) {
        return;
    }
    size_t end = length;
    while (end > 4 && (line[end - 1] == ' ' || line[end - 1] == '\r')) {
        --end;
    }
    const size_t keywordEnd = WordEnd(line, 4, end);
    if (WordIs(line, 4, keywordEnd, "STARTTLS")) {
        extensions.startTls = 1;
    } else if (WordIs(line, 4, keywordEnd, "SIZE")) {
        size_t from = keywordEnd;
        while (from < end && line[from] == ' ') {
            ++from;
        }
        extensions.sizeLimit = SizeValue(line, from, WordEnd(line, from, end));
    } else if (WordIs(line, 4, keywordEnd, "AUTH")) {
        extensions.authOffered = 1;
        for (size_t at = keywordEnd; at < end;) {
            if (line[at] == ' ' || line[at] == '=') {
                ++at;
                continue;
            }
            const size_t wordEnd = WordEnd(line, at, end);
            if (WordIs(line, at, wordEnd, "PLAIN")) {
                extensions.authPlain = 1;
            } else if (WordIs(line, at, wordEnd, "LOGIN")) {
                extensions.authLogin = 1;
            }
            at = wordEnd;
        }
    }
}

SmtpAuthMechanism ChooseAuthMechanism(const SmtpExtensions& extensions) {
    if (extensions.authPlain) {
        return SmtpAuthMechanism::Plain;
    }
    return extensions.authLogin ? SmtpAuthMechanism::Login : SmtpAuthMechanism::None;
}
