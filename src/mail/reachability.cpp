#include "mail/reachability.h"

#include <cctype>

namespace {

// Reads the dotted IPv4 address a.b.c.d (each part 0 to 255, digits only) into bytes.
bool ParseDottedAddress(const char* text, unsigned char bytes[4]) {
    const char* p = text;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && *p++ != '.') {
            return false;
        }
        int value = 0;
        int digits = 0;
        while (std::isdigit(static_cast<unsigned char>(*p)) && digits < 4) {
            value = value * 10 + (*p++ - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) {
            return false;
        }
        bytes[part] = static_cast<unsigned char>(value);
    }
    return *p == '\0';
}

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

} // namespace

bool IsLoopbackHost(const char* name) {
    if (name == nullptr) {
        return false;
    }
    unsigned char bytes[4];
    return EqualsIgnoringCase(name, "localhost") ||
           (ParseDottedAddress(name, bytes) && bytes[0] == 127);
}

bool InternetCheckPasses(const char* serverName, bool localAddressFound,
                         const unsigned char localAddress[4]) {
    if (IsLoopbackHost(serverName) || !localAddressFound) {
        return true;
    }
    return !(localAddress[0] == 127 && localAddress[1] == 0 && localAddress[2] == 0 &&
             localAddress[3] == 1);
}
