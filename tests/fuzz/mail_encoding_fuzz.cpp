// The mail encodings and their round trips. Quoted-printable decodes to the text with CR LF line
// ends, in lines of at most 76 characters with no blank at a line's end; base64 decodes to the
// bytes in lines of 72; encoded words decode to the header text, none longer than 60 characters,
// and a buffer too small cuts them at a whole word. Every line ends in CR LF and nothing else.
#include "fuzz_support.h"

#include <algorithm>
#include <cstring>

#include "mail/base64.h"
#include "mail/mail_encoding.h"

namespace {

// Every CR is followed by LF and every LF follows a CR; no line is longer than limit.
void CheckLines(const std::string& text, size_t limit) {
    size_t line = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
            line = 0;
            ++i;
            continue;
        }
        FUZZ_CHECK(text[i] != '\n');
        FUZZ_CHECK(++line <= limit);
    }
}

int HexDigit(char c) {
    const char* digits = "0123456789ABCDEF";
    const char* at = c != '\0' ? std::strchr(digits, c) : nullptr;
    FUZZ_CHECK(at != nullptr); // upper-case hex only
    return static_cast<int>(at - digits);
}

std::string DecodeQuotedPrintable(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '=' && text.compare(i, 3, "=\r\n") == 0) {
            i += 2;
        } else if (c == '=') {
            FUZZ_CHECK(i + 2 < text.size());
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            // Printable ASCII, blanks inside a line and CR LF go as they are.
            FUZZ_CHECK((c >= 33 && c <= 126) || c == ' ' || c == '\t' || c == '\r' || c == '\n');
            if (c == ' ' || c == '\t') {
                FUZZ_CHECK(i + 1 < text.size() && text[i + 1] != '\r');
            }
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string DecodeBase64(const std::string& text) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string letters;
    for (char c : text) {
        if (c != '\r' && c != '\n') {
            letters += c;
        }
    }
    FUZZ_CHECK(letters.size() % 4 == 0);
    std::string bytes;
    for (size_t at = 0; at < letters.size(); at += 4) {
        uint32_t group = 0;
        int padding = 0;
        for (size_t i = 0; i < 4; ++i) {
            const char c = letters[at + i];
            const bool pad = c == '=' && at + 4 == letters.size() && i >= 2;
            FUZZ_CHECK(pad ? true : padding == 0 && alphabet.find(c) != std::string::npos);
            padding += pad ? 1 : 0;
            group = group << 6 | (pad ? 0 : static_cast<uint32_t>(alphabet.find(c)));
        }
        for (int i = 0; i < 3 - padding; ++i) {
            bytes += static_cast<char>(group >> (16 - 8 * i));
        }
    }
    return bytes;
}

// Undoes encoded words separated by folding.
std::string DecodeHeaderWords(const std::string& text) {
    const std::string opening = std::string("=?") + kMailCharset + "?Q?";
    std::string out;
    for (size_t at = 0; at < text.size();) {
        if (at > 0) {
            FUZZ_CHECK(text.compare(at, 3, "\r\n ") == 0);
            at += 3;
        }
        FUZZ_CHECK(text.compare(at, opening.size(), opening) == 0);
        const size_t end = text.find("?=", at + opening.size());
        FUZZ_CHECK(end != std::string::npos && end + 2 - at <= kEncodedWordLength);
        for (size_t i = at + opening.size(); i < end; ++i) {
            if (text[i] == '=') {
                FUZZ_CHECK(i + 2 < end);
                out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
                i += 2;
            } else {
                const char c = text[i];
                FUZZ_CHECK((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || (c != '\0' && std::strchr("!*+-/_", c)));
                out += c == '_' ? ' ' : c;
            }
        }
        at = end + 2;
    }
    return out;
}

void CheckBase64(const std::string& bytes) {
    const uint32_t length = static_cast<uint32_t>(std::min<size_t>(bytes.size(), kBase64BlockSize));
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    char output[kBase64BufferSize];
    uint32_t written = 0;
    FUZZ_CHECK(EncodeBase64Block(data, length, output, sizeof output, &written));
    FUZZ_CHECK(written == Base64EncodedLength(length) && std::strlen(output) == written);
    const std::string text(output, written);
    CheckLines(text, kBase64LineLength);
    FUZZ_CHECK(DecodeBase64(text) == bytes.substr(0, length));
    // One byte too few for the text and its terminator: refused, nothing written.
    std::memset(output, '#', sizeof output);
    FUZZ_CHECK(!EncodeBase64Block(data, length, output, written, &written));
    FUZZ_CHECK(output[0] == '#');
}

void CheckHeaderWords(const std::string& text) {
    char words[kEncodedWordLength * 3 * 64];
    const size_t length = EncodeHeaderWords(text.c_str(), words, sizeof words);
    const std::string all(words, length);
    FUZZ_CHECK(std::strlen(words) == length);
    if (text.size() > 0 && text.size() * 3 * 2 < sizeof words) {
        FUZZ_CHECK(DecodeHeaderWords(all) == text);
    }
    // A small buffer gives whole words of the same run, terminated.
    const size_t small = 1 + text.size() % 150;
    std::vector<char> cut(small);
    const size_t cutLength = EncodeHeaderWords(text.c_str(), cut.data(), small);
    FUZZ_CHECK(cutLength < small && std::strlen(cut.data()) == cutLength);
    FUZZ_CHECK(all.compare(0, cutLength, cut.data()) == 0);
    FUZZ_CHECK(cutLength == 0 || all.compare(cutLength - 2, 2, "?=") == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string lines = WithCrLfLineEnds(text.data(), text.size());
    CheckLines(lines, text.size());
    const std::string encoded = EncodeQuotedPrintable(lines.data(), lines.size());
    CheckLines(encoded, 76);
    FUZZ_CHECK(DecodeQuotedPrintable(encoded) == lines);
    FUZZ_CHECK(HasEightBitBytes(text.data(), text.size()) ==
               (std::find_if(text.begin(), text.end(), [](char c) {
                    return static_cast<unsigned char>(c) >= 0x80;
                }) != text.end()));
    CheckBase64(text);
    CheckHeaderWords(text.c_str());
    return 0;
}
