#include "mail/mail_encoding.h"

#include <cstring>

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, unsigned char byte) {
    out += '=';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

// Characters that an encoded word may hold as they are, even in a display name.
bool IsPlainWordCharacter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::strchr("!*+-/", c) != nullptr;
}

} // namespace

bool HasEightBitBytes(const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            return true;
        }
    }
    return false;
}

bool HasLineLongerThan(const char* text, size_t length, size_t limit) {
    size_t line = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            line = 0;
            continue;
        }
        // A leading dot goes out twice.
        line += line == 0 && text[i] == '.' ? 2 : 1;
        if (line > limit) {
            return true;
        }
    }
    return false;
}

std::string WithCrLfLineEnds(const char* text, size_t length) {
    std::string out;
    out.reserve(length + length / 16);
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < length && text[i + 1] == '\n') {
                ++i;
            }
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string EncodeQuotedPrintable(const char* text, size_t length) {
    std::string out;
    out.reserve(length + length / 4);
    size_t column = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < length && text[i + 1] == '\n') {
            out += "\r\n";
            column = 0;
            ++i;
            continue;
        }
        const bool lineEndsHere =
            i + 1 == length || (text[i + 1] == '\r' && i + 2 < length && text[i + 2] == '\n');
        const bool blank = c == ' ' || c == '\t';
        const bool literal = (c >= 33 && c <= 126 && c != '=') || (blank && !lineEndsHere);
        const size_t width = literal ? 1 : 3;
        // A soft break "=" takes the 76th column; the last piece of a line may use it itself.
        if (column + width > (lineEndsHere ? 76u : 75u)) {
            out += "=\r\n";
            column = 0;
        }
        if (literal) {
            out += static_cast<char>(c);
        } else {
            AppendHexByte(out, c);
        }
        column += width;
    }
    return out;
}

size_t EncodeHeaderWords(const char* text, char* out, size_t outSize) {
    if (outSize == 0) {
        return 0;
    }
    out[0] = '\0';
    const std::string opening = std::string("=?") + kMailCharset + "?Q?";
    const size_t textRoom = kEncodedWordLength - opening.size() - 2;
    size_t used = 0;
    std::string word;
    const auto flushWord = [&]() {
        const std::string whole = (used > 0 ? "\r\n " : "") + opening + word + "?=";
        if (used + whole.size() < outSize) {
            std::memcpy(out + used, whole.data(), whole.size());
            used += whole.size();
            out[used] = '\0';
        } else {
            used = outSize; // the rest is cut
        }
        word.clear();
    };
    for (const char* p = text; *p != '\0' && used < outSize; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        std::string piece;
        if (c == ' ') {
            piece = "_";
        } else if (IsPlainWordCharacter(c)) {
            piece = static_cast<char>(c);
        } else {
            AppendHexByte(piece, c);
        }
        if (word.size() + piece.size() > textRoom) {
            flushWord();
        }
        word += piece;
    }
    if (!word.empty() && used < outSize) {
        flushWord();
    }
    return used < outSize ? used : std::strlen(out);
}
