#include "autoconfig/registry_values.h"

#include <cstdint>

#include "autoconfig/utf8_text.h"
#include <cstdio>

std::string AccountKeyName(const char* base, int index) {
    std::string key = base;
    if (key.size() < 2 || index < 0 || index > 0xff) {
        return key;
    }
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", index);
    key.replace(key.size() - 2, 2, digits);
    return key;
}

std::string InternetAccountKey(int index) {
    return AccountKeyName("Software\\Microsoft\\Internet Account Manager\\Accounts\\00000000",
                          index);
}

std::string OmiAccountKey(int version, int index) {
    char base[128];
    std::snprintf(base, sizeof base,
                  "Software\\Microsoft\\Office\\%d.%d\\Outlook\\OMI Account Manager\\Accounts\\"
                  "00000000",
                  8 + version / 10, version % 10);
    return AccountKeyName(base, index);
}

std::string OutlookProfilesKey(int major) {
    return "Software\\Microsoft\\Office\\" + std::to_string(major) + ".0\\Outlook\\Profiles";
}

std::string OutlookAccountsKey(int major, const std::string& profile) {
    return OutlookProfilesKey(major) + "\\" + profile + "\\9375CFF0413111d3B88A00104B2A6676";
}

std::string Utf16BinaryToUtf8(const unsigned char* bytes, size_t size) {
    std::string text;
    if (bytes == nullptr) {
        return text;
    }
    const size_t units = size / 2;
    for (size_t i = 0; i < units; ++i) {
        uint32_t unit = bytes[2 * i] | (bytes[2 * i + 1] << 8);
        if (unit == 0) {
            break;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const uint32_t low = bytes[2 * i + 2] | (bytes[2 * i + 3] << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            continue; // half of a pair
        }
        AppendUtf8(text, unit);
    }
    return text;
}

int PortFromBinary(const unsigned char* bytes, size_t size) {
    if (bytes == nullptr) {
        return 0;
    }
    uint32_t port = 0;
    if (size == 4) {
        port = bytes[0] | (bytes[1] << 8) | (static_cast<uint32_t>(bytes[2]) << 16) |
               (static_cast<uint32_t>(bytes[3]) << 24);
    }
    if (port < 1 || port > 65535) {
        // Two UTF-16 digits without their zero are four bytes too, but never a port number.
        port = 0;
        const std::string digits = Utf16BinaryToUtf8(bytes, size);
        if (digits.empty() || digits.size() > 5) {
            return 0;
        }
        for (char c : digits) {
            if (c < '0' || c > '9') {
                return 0;
            }
            port = port * 10 + static_cast<uint32_t>(c - '0');
        }
    }
    return port >= 1 && port <= 65535 ? static_cast<int>(port) : 0;
}
