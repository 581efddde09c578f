#include "store/saved_message_names.h"

#include "mail/outgoing_message.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kNamePartLength = 50; // bytes taken from the address and from the subject

const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int TwelveHour(int hour) {
    int twelve = hour % 12;
    return twelve == 0 ? 12 : twelve;
}

const char* AmPm(int hour) {
    return hour < 12 ? "AM" : "PM";
}

bool IsForbiddenInName(unsigned char c) {
    return c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr;
}

// Up to 50 bytes of text, without the characters a file name cannot hold.
std::string NamePart(const char* text) {
    std::string part;
    for (size_t i = 0; text != nullptr && i < kNamePartLength && text[i] != '\0'; ++i) {
        if (!IsForbiddenInName(static_cast<unsigned char>(text[i]))) {
            part += text[i];
        }
    }
    return part;
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// Digits 1-9 and the superscripts 1, 2 and 3 of the Western code page end a COM or LPT name.
bool IsDevicePortDigit(unsigned char c) {
    return (c >= '1' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3;
}

} // namespace

bool IsValidSaveTime(const SaveTime& time) {
    return time.year >= 1 && time.year <= 9999 && time.month >= 1 && time.month <= 12 &&
           time.day >= 1 && time.day <= 31 && time.hour >= 0 && time.hour <= 23 &&
           time.minute >= 0 && time.minute <= 59 && time.second >= 0 && time.second <= 59;
}

std::string SaveFolderPath(const char* programDirectory) {
    return std::string(programDirectory == nullptr ? "" : programDirectory) + "save";
}

std::string MessageFolderName(const SaveTime& time) {
    if (!IsValidSaveTime(time)) {
        return std::string();
    }
    char name[32];
    std::snprintf(name, sizeof name, "%s%02d%04d-%02d%02d%s-%02d", kMonths[time.month - 1],
                  time.day, time.year, TwelveHour(time.hour), time.minute, AmPm(time.hour),
                  time.second);
    return name;
}

std::string MessageFolderPath(const char* programDirectory, const SaveTime& time) {
    const std::string name = MessageFolderName(time);
    if (name.empty()) {
        return std::string();
    }
    return SaveFolderPath(programDirectory) + "\\" + name;
}

std::string SaveDateText(const SaveTime& time) {
    if (!IsValidSaveTime(time)) {
        return std::string();
    }
    char text[32];
    std::snprintf(text, sizeof text, "%s %02d %04d  %02d:%02d %s", kMonths[time.month - 1],
                  time.day, time.year, TwelveHour(time.hour), time.minute, AmPm(time.hour));
    return text;
}

bool IsReservedDeviceName(const char* name) {
    if (name == nullptr) {
        return false;
    }
    // The device is named by the part before the first dot, trailing blanks not counted.
    std::string base(name, std::strcspn(name, "."));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (EqualNoCase(base, device)) {
            return true;
        }
    }
    return base.size() == 4 &&
           (EqualNoCase(base.substr(0, 3), "COM") || EqualNoCase(base.substr(0, 3), "LPT")) &&
           IsDevicePortDigit(static_cast<unsigned char>(base[3]));
}

std::string MessageFileName(const char* firstTo, const char* subject) {
    std::string stem;
    if (firstTo != nullptr && firstTo[0] != '\0') {
        stem = NamePart(firstTo) + "-" + NamePart(subject);
    } else {
        stem = NamePart(subject);
    }
    if (stem.empty()) {
        stem = "No Subject";
    }
    std::string name = stem + ".kto";
    if (IsReservedDeviceName(name.c_str())) {
        name.insert(0, "_");
    }
    return name;
}

std::string AttachmentCopyName(const char* path) {
    if (path == nullptr) {
        return std::string();
    }
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') {
            name = p + 1;
        }
    }
    return name;
}

std::vector<std::string> AttachmentCopyPaths(const char* messageFolder,
                                             const OutgoingMessage& message) {
    int count = message.attachmentCount;
    count = count < 0 ? 0 : (count > kMaxAttachments ? kMaxAttachments : count);

    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        const std::string name = AttachmentCopyName(message.attachmentPaths[i]);
        const size_t dot = name.rfind('.');
        const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
        const std::string extension = dot == std::string::npos ? "" : name.substr(dot);

        std::string candidate = name;
        for (int number = 2;; ++number) {
            bool taken = false;
            for (const std::string& earlier : names) {
                taken = taken || EqualNoCase(earlier, candidate);
            }
            if (!taken) {
                break;
            }
            candidate = stem + "(" + std::to_string(number) + ")" + extension;
        }
        names.push_back(candidate);
    }

    std::vector<std::string> paths;
    for (const std::string& name : names) {
        paths.push_back(std::string(messageFolder == nullptr ? "" : messageFolder) + "\\" + name);
    }
    return paths;
}
