#include "app/settings_file.h"

#include "app/help_targets.h"

#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/text_fields.h"

namespace {

// Splits text into lines the way a text-mode reader sees them: the line end is LF or CR LF,
// and a last line without a line end is a line too.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        size_t contentEnd = end;
        if (contentEnd > start && text[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        lines.push_back(text.substr(start, contentEnd - start));
        start = end + 1;
    }
    return lines;
}

// A decimal integer with an optional sign, read up to the first character that is not a digit.
// Returns false when no digit follows the sign. Values beyond int are held at its limits.
bool ParseLeadingInt(const char* text, int& value) {
    const char* p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (*p < '0' || *p > '9') {
        return false;
    }
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
            magnitude = magnitude * 10 + (*p - '0');
        }
    }
    if (negative) {
        value = magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN
                                                                : static_cast<int>(-magnitude);
    } else {
        value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
    }
    return true;
}

int IntOrZero(const std::string& text) {
    int value = 0;
    ParseLeadingInt(text.c_str(), value);
    return value;
}

enum class FieldKind { Int, Text };

struct KeyedField {
    const char* key; // including the "="
    FieldKind kind;
    size_t offset;
    size_t size; // of a text field
};

#define INT_FIELD(key, member)                                                                     \
    { key, FieldKind::Int, offsetof(ProgramSettings, member), 0 }
#define TEXT_FIELD(key, member)                                                                    \
    { key, FieldKind::Text, offsetof(ProgramSettings, member), sizeof(ProgramSettings::member) }

// The keys in the order the file holds them; the first key a line begins with decides.
const KeyedField kKeyedFields[] = {
    INT_FIELD("USEMAPI=", useMapi),
    TEXT_FIELD("USERNAME=", userName),
    TEXT_FIELD("MAILFROM=", mailFrom),
    TEXT_FIELD("REPLYTO=", replyTo),
    TEXT_FIELD("SERVERNAME=", serverName),
    INT_FIELD("SMTPPORT=", smtpPort),
    INT_FIELD("X=", x),
    INT_FIELD("Y=", y),
    INT_FIELD("WIDTH=", width),
    INT_FIELD("HEIGHT=", height),
    TEXT_FIELD("ATTACHDIR=", attachDir),
    INT_FIELD("VIDEOINDEX=", videoIndex),
    INT_FIELD("ALWAYS_CLOSE=", alwaysClose),
    INT_FIELD("ALWAYS_SAVE=", alwaysSave),
    INT_FIELD("ALWAYS_CLEAR=", alwaysClear),
    INT_FIELD("ALWAYS_ADDRESS_MAPI=", alwaysAddressMapi),
    // The ad banner's settings come after those above.
    TEXT_FIELD("ADLOCATION1=", adLocation1),
    TEXT_FIELD("ADLOCATION2=", adLocation2),
    INT_FIELD("ADBANNER=", adBanner),
};

#undef INT_FIELD
#undef TEXT_FIELD

void ApplyKeyedLine(const std::string& line, ProgramSettings& settings) {
    char* base = reinterpret_cast<char*>(&settings);
    for (const KeyedField& field : kKeyedFields) {
        size_t keyLength = std::strlen(field.key);
        if (line.compare(0, keyLength, field.key) != 0) {
            continue;
        }
        const char* value = line.c_str() + keyLength;
        if (field.kind == FieldKind::Int) {
            int parsed = 0;
            if (ParseLeadingInt(value, parsed)) {
                std::memcpy(base + field.offset, &parsed, sizeof parsed);
            }
        } else {
            CopyField(base + field.offset, field.size, value);
        }
        return;
    }
}

} // namespace

void ApplyDefaultSettings(ProgramSettings& settings, ScreenSize screen) {
    settings.useMapi = 1;
    settings.userName[0] = '\0';
    settings.mailFrom[0] = '\0';
    settings.serverName[0] = '\0';
    settings.smtpPort = 25;
    if (screen.width == 640) {
        settings.x = 100;
        settings.y = 100;
        settings.width = 400;
        settings.height = 420;
    } else {
        settings.x = screen.width / 3;
        settings.y = screen.height / 4;
        settings.width = 472;
        settings.height = 553;
    }
    settings.alwaysClose = 0;
    settings.alwaysSave = 0;
    settings.alwaysClear = 0;
    settings.alwaysAddressMapi = 0;
    CopyField(settings.adLocation1, kAdLocation);
    CopyField(settings.adLocation2, kAdLocation);
    settings.adBanner = 1;
}

SettingsLayout ParseSettingsText(const std::string& text, ProgramSettings& settings) {
    std::vector<std::string> lines = SplitLines(text);
    if (!lines.empty() && lines[0].compare(0, 8, "VERSION=") == 0) {
        for (size_t i = 1; i < lines.size(); ++i) {
            ApplyKeyedLine(lines[i], settings);
        }
        return SettingsLayout::Keyed;
    }

    // The older layout: values by position, reading stops early at the end of the file.
    auto line = [&lines](size_t index) -> const std::string* {
        return index < lines.size() ? &lines[index] : nullptr;
    };
    if (const std::string* s = line(0)) {
        CopyField(settings.userName, *s);
    }
    if (const std::string* s = line(1)) {
        CopyField(settings.mailFrom, *s);
    }
    if (const std::string* s = line(2)) {
        CopyField(settings.replyTo, *s);
    }
    if (const std::string* s = line(3)) {
        CopyField(settings.serverName, *s);
    }
    int* const positional[] = {&settings.x, &settings.y, &settings.width, &settings.height};
    for (size_t i = 0; i < 4; ++i) {
        if (const std::string* s = line(4 + i)) {
            *positional[i] = IntOrZero(*s);
        }
    }
    if (const std::string* s = line(8)) {
        CopyField(settings.attachDir, *s);
    }
    if (const std::string* s = line(9)) {
        settings.videoIndex = IntOrZero(*s);
    }
    settings.useMapi = 0;
    settings.smtpPort = 25;
    return SettingsLayout::Older;
}

void FitWindowToScreen(ProgramSettings& settings, ScreenSize screen) {
    if (settings.width < 50 || settings.width > screen.width || settings.height < 50 ||
        settings.height > screen.height) {
        if (screen.width == 640) {
            settings.width = 400;
            settings.height = 480;
        } else {
            settings.width = 472;
            settings.height = 553;
        }
    }
    if (settings.x < 0 || settings.x > screen.width || settings.y < 0 ||
        settings.y > screen.height) {
        settings.x = screen.width / 4;
        settings.y = screen.height / 4;
    }
}

std::string FormatSettingsText(const ProgramSettings& s) {
    std::string out;
    auto intLine = [&out](const char* key, int value) {
        out += key;
        out += std::to_string(value);
        out += "\r\n";
    };
    auto textLine = [&out](const char* key, const char* value) {
        out += key;
        out += value;
        out += "\r\n";
    };
    intLine("VERSION=", kSettingsVersion);
    intLine("USEMAPI=", s.useMapi);
    textLine("USERNAME=", s.userName);
    textLine("MAILFROM=", s.mailFrom);
    textLine("REPLYTO=", s.replyTo);
    textLine("SERVERNAME=", s.serverName);
    intLine("SMTPPORT=", s.smtpPort);
    intLine("X=", s.x);
    intLine("Y=", s.y);
    intLine("WIDTH=", s.width);
    intLine("HEIGHT=", s.height);
    textLine("ATTACHDIR=", s.attachDir);
    intLine("VIDEOINDEX=", s.videoIndex);
    intLine("ALWAYS_CLOSE=", s.alwaysClose);
    intLine("ALWAYS_SAVE=", s.alwaysSave);
    intLine("ALWAYS_CLEAR=", s.alwaysClear);
    intLine("ALWAYS_ADDRESS_MAPI=", s.alwaysAddressMapi);
    // The ad banner's settings, after the stated ones.
    textLine("ADLOCATION1=", s.adLocation1);
    textLine("ADLOCATION2=", s.adLocation2);
    intLine("ADBANNER=", s.adBanner);
    return out;
}
