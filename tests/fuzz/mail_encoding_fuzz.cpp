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

int HexDigit(char c) {
    const char* digits = "0123456789ABCDEF";
    const char* at = c != '\0' ? std::strchr(digits, c) : nullptr;
    FUZZ_CHECK(at != nullptr); // upper-case hex only
    return static_cast<int>(at - digits);
}

// Printable ASCII, CR LF, and blanks that do not end a line.
bool QuotedPrintableLiteral(const std::string& text, size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool blank = c == ' ' || c == '\t';
    return (c >= 33 && c <= 126) || c == '\r' || c == '\n' ||
           (blank && i + 1 < text.size() && text[i + 1] != '\r');
}

bool WordLiteral(const std::string& text, size_t i) {
    const char c = text[i];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr("!*+-/_", c) != nullptr);
}

// Decodes =XX, drops the soft line breaks of quoted-printable and, in an encoded word, reads "_"
// as a blank; every other character must be one that may stand for itself.
std::string DecodeEscapes(const std::string& text, bool word) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!word && text.compare(i, 3, "=\r\n") == 0) {
            i += 2;
        } else if (text[i] == '=') {
            FUZZ_CHECK(i + 2 < text.size());
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            FUZZ_CHECK(word ? WordLiteral(text, i) : QuotedPrintableLiteral(text, i));
            out += word && text[i] == '_' ? ' ' : text[i];
        }
    }
    return out;
}

// Undoes encoded words separated by folding.
std::string DecodeHeaderWords(const std::string& text) {
    const std::string opening = std::string("=?") + kMailCharset + "?Q?";
    std::string out;
    for (size_t at = 0; at < text.size();) {
        FUZZ_CHECK(text.compare(at, opening.size(), opening) == 0);
        const size_t end = text.find("?=", at + opening.size());
        FUZZ_CHECK(end != std::string::npos && end + 2 - at <= kEncodedWordLength);
        out += DecodeEscapes(text.substr(at + opening.size(), end - at - opening.size()), true);
        at = end + 2;
        if (at < text.size()) {
            FUZZ_CHECK(text.compare(at, 3, "\r\n ") == 0);
            at += 3;
        }
    }
    return out;
}

std::string DecodeBase64(const std::string& text) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string letters = text;
    letters.erase(std::remove_if(letters.begin(), letters.end(),
                                 [](char c) { return c == '\r' || c == '\n'; }),
                  letters.end());
    const size_t padding =
        letters.size() - std::min(letters.size(), letters.find_last_not_of('=') + 1);
    FUZZ_CHECK(letters.size() % 4 == 0 && padding <= 2);
    std::string bytes;
    uint32_t bits = 0;
    for (size_t i = 0; i < letters.size() - padding; ++i) {
        const size_t value = alphabet.find(letters[i]);
        FUZZ_CHECK(value != std::string::npos);
        bits = bits << 6 | static_cast<uint32_t>(value);
        if (i % 4 != 0) {
            bytes += static_cast<char>(bits >> (6 - 2 * (i % 4)) & 0xFF);
        }
    }
    return bytes;
}

void CheckBase64(const std::string& bytes) {
    const uint32_t length = static_cast<uint32_t>(std::min<size_t>(bytes.size(), kBase64BlockSize));
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    char output[kBase64BufferSize];
    uint32_t written = 0;
    FUZZ_CHECK(EncodeBase64Block(data, length, output, sizeof output, &written));
    FUZZ_CHECK(written == Base64EncodedLength(length) && std::strlen(output) == written);
    CheckCrLfLines(std::string(output, written), kBase64LineLength);
    FUZZ_CHECK(DecodeBase64(std::string(output, written)) == bytes.substr(0, length));
    // One byte too few for the text and its terminator: refused, nothing written.
    output[0] = '#';
    FUZZ_CHECK(!EncodeBase64Block(data, length, output, written, &written) && output[0] == '#');
}

void CheckHeaderWords(const std::string& text) {
    char words[kEncodedWordLength * 3 * 64];
    const std::string all(words, EncodeHeaderWords(text.c_str(), words, sizeof words));
    FUZZ_CHECK(std::strlen(words) == all.size());
    if (text.size() * 6 < sizeof words) { // whole
        FUZZ_CHECK(DecodeHeaderWords(all) == text);
    }
    // A small buffer gives whole words of the same run, terminated.
    std::vector<char> cut(1 + text.size() % 150);
    const size_t cutLength = EncodeHeaderWords(text.c_str(), cut.data(), cut.size());
    FUZZ_CHECK(cutLength < cut.size() && std::strlen(cut.data()) == cutLength);
    FUZZ_CHECK(all.compare(0, cutLength, cut.data()) == 0);
    FUZZ_CHECK(cutLength == 0 || all.compare(cutLength - 2, 2, "?=") == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string lines = WithCrLfLineEnds(text.data(), text.size());
    CheckCrLfLines(lines, text.size());
    const std::string encoded = EncodeQuotedPrintable(lines.data(), lines.size());
    CheckCrLfLines(encoded, 76);
    FUZZ_CHECK(DecodeEscapes(encoded, false) == lines);
    CheckBase64(text);
    CheckHeaderWords(text.c_str());
    return 0;
}
