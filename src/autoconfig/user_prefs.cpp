#include "autoconfig/user_prefs.h"

#include <cstdint>

#include "autoconfig/utf8_text.h"
#include "base/hex_text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsWordCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

class PrefReader {
  public:
    explicit PrefReader(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
            at_ = 3; // a UTF-8 byte order mark
        }
    }

    PrefTable ReadAll() {
        PrefTable prefs;
        for (;;) {
            SkipBlanksAndComments();
            if (AtEnd()) {
                return prefs;
            }
            const size_t start = at_;
            std::string key;
            PrefValue value;
            if (ReadStatement(key, value)) {
                prefs[key] = std::move(value);
            } else {
                SkipPastLineBreak(start);
            }
        }
    }

  private:
    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[at_]; }

    bool Take(char c) {
        SkipBlanksAndComments();
        if (Peek() != c) {
            return false;
        }
        ++at_;
        return true;
    }

    void SkipBlanksAndComments() {
        while (!AtEnd()) {
            const std::string_view rest = text_.substr(at_);
            if (IsBlank(rest[0])) {
                ++at_;
            } else if (rest[0] == '#' || rest.substr(0, 2) == "//") {
                const size_t end = text_.find('\n', at_);
                at_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else if (rest.substr(0, 2) == "/*") {
                const size_t end = text_.find("*/", at_ + 2);
                at_ = end == std::string_view::npos ? text_.size() : end + 2;
            } else {
                return;
            }
        }
    }

    // After a statement that could not be read: go on after the first line break that follows
    // its start, so a statement that lacks its end does not take the next line with it.
    void SkipPastLineBreak(size_t start) {
        const size_t end = text_.find('\n', start);
        at_ = end == std::string_view::npos ? text_.size() : end + 1;
    }

    std::string_view ReadWord() {
        const size_t start = at_;
        while (!AtEnd() && IsWordCharacter(text_[at_])) {
            ++at_;
        }
        return text_.substr(start, at_ - start);
    }

    bool ReadStatement(std::string& key, PrefValue& value) {
        const std::string_view function = ReadWord();
        if (function != "user_pref" && function != "pref" && function != "sticky_pref") {
            return false;
        }
        if (!Take('(')) {
            return false;
        }
        SkipBlanksAndComments();
        if (!ReadString(key) || !Take(',')) {
            return false;
        }
        SkipBlanksAndComments();
        if (!ReadValue(value)) {
            return false;
        }
        return Take(')') && Take(';');
    }

    bool ReadValue(PrefValue& value) {
        const char c = Peek();
        if (c == '"' || c == '\'') {
            value.kind = PrefValue::Kind::String;
            return ReadString(value.text);
        }
        if (c == '-' || c == '+' || (c >= '0' && c <= '9')) {
            value.kind = PrefValue::Kind::Integer;
            return ReadInteger(value.number);
        }
        const std::string_view word = ReadWord();
        value.kind = PrefValue::Kind::Boolean;
        value.flag = word == "true";
        return word == "true" || word == "false";
    }

    bool ReadInteger(long& number) {
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') {
            negative = Peek() == '-';
            ++at_;
        }
        int64_t magnitude = 0;
        int digits = 0;
        while (!AtEnd() && text_[at_] >= '0' && text_[at_] <= '9') {
            magnitude = magnitude * 10 + (text_[at_] - '0');
            if (magnitude > INT32_MAX + int64_t{1}) {
                return false; // beyond 32 bits
            }
            ++at_;
            ++digits;
        }
        if (digits == 0 || (!negative && magnitude > INT32_MAX)) {
            return false;
        }
        number = static_cast<long>(negative ? -magnitude : magnitude);
        return true;
    }

    // Reads count hexadecimal digits into code.
    bool ReadHex(int count, uint32_t& code) {
        code = 0;
        for (int i = 0; i < count; ++i) {
            const int digit = HexDigitValue(Peek());
            if (digit < 0) {
                return false;
            }
            code = code * 16 + static_cast<uint32_t>(digit);
            ++at_;
        }
        return true;
    }

    bool ReadUnicodeEscape(std::string& out) {
        uint32_t code = 0;
        if (!ReadHex(4, code)) {
            return false;
        }
        if (code >= 0xDC00 && code <= 0xDFFF) {
            return false; // a low surrogate alone
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            uint32_t low = 0;
            if (text_.substr(at_, 2) != "\\u") {
                return false;
            }
            at_ += 2;
            if (!ReadHex(4, low) || low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        if (code == 0) {
            return false;
        }
        AppendUtf8(out, code);
        return true;
    }

    bool ReadEscape(std::string& out) {
        const char c = Peek();
        ++at_;
        switch (c) {
        case '"':
        case '\'':
        case '\\':
            out += c;
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 'x': {
            uint32_t code = 0;
            if (!ReadHex(2, code) || code == 0) {
                return false;
            }
            AppendUtf8(out, code);
            return true;
        }
        case 'u':
            return ReadUnicodeEscape(out);
        default:
            return false;
        }
    }

    // A string in double or single quotes; it may not run past the end of its line.
    bool ReadString(std::string& out) {
        const char quote = Peek();
        if (quote != '"' && quote != '\'') {
            return false;
        }
        ++at_;
        out.clear();
        while (!AtEnd()) {
            const char c = text_[at_];
            if (c == quote) {
                ++at_;
                return true;
            }
            if (c == '\n' || c == '\0') {
                return false;
            }
            ++at_;
            if (c == '\\') {
                if (AtEnd() || !ReadEscape(out)) {
                    return false;
                }
            } else {
                out += c;
            }
        }
        return false;
    }

    std::string_view text_;
    size_t at_ = 0;
};

} // namespace

PrefTable ParseUserPrefs(std::string_view text) {
    return PrefReader(text).ReadAll();
}

std::string PrefText(const PrefTable& prefs, std::string_view key) {
    const auto found = prefs.find(key);
    if (found == prefs.end() || found->second.kind != PrefValue::Kind::String) {
        return {};
    }
    return found->second.text;
}

bool PrefNumber(const PrefTable& prefs, std::string_view key, long& number) {
    const auto found = prefs.find(key);
    if (found == prefs.end() || found->second.kind != PrefValue::Kind::Integer) {
        return false;
    }
    number = found->second.number;
    return true;
}
