#include "ad/ad_url.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsSafeUrlCharacter(unsigned char c) {
    return c > ' ' && c != 0x7F;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        char c = *text;
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != *prefix) {
            return false;
        }
    }
    return true;
}

// A port of one to five digits, 1 to 65535.
bool ParsePort(const char* digits, size_t length, int& port) {
    if (length > 5) {
        return false; // and no overflow below
    }
    int value = 0;
    for (size_t i = 0; i < length; ++i) {
        if (digits[i] < '0' || digits[i] > '9') {
            return false;
        }
        value = value * 10 + (digits[i] - '0');
    }
    if (value < 1 || value > 65535) {
        return false;
    }
    port = value;
    return true;
}

bool CopyPart(char* field, const char* text, size_t length) {
    if (length >= kAdTextSize) {
        return false;
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
    return true;
}

} // namespace

bool ParseAdUrl(const char* url, AdUrl& parsed) {
    if (StartsWithNoCase(url, "http://")) {
        url += 7;
    }
    for (const char* p = url; *p; ++p) {
        if (!IsSafeUrlCharacter(static_cast<unsigned char>(*p))) {
            return false;
        }
    }
    const char* slash = std::strchr(url, '/');
    const size_t authorityLength = slash ? static_cast<size_t>(slash - url) : std::strlen(url);
    const char* colon = static_cast<const char*>(std::memchr(url, ':', authorityLength));
    const size_t hostLength = colon ? static_cast<size_t>(colon - url) : authorityLength;
    if (hostLength == 0) {
        return false;
    }
    int port = kDefaultHttpPort;
    if (colon && !ParsePort(colon + 1, authorityLength - hostLength - 1, port)) {
        return false;
    }
    const char* path = slash ? slash : "/";
    if (!CopyPart(parsed.host, url, hostLength) ||
        !CopyPart(parsed.path, path, std::strlen(path))) {
        return false;
    }
    parsed.port = port;
    return true;
}

size_t FormatAdRequest(const AdUrl& url, char* request, size_t size) {
    if (size == 0) {
        return 0;
    }
    const int written =
        std::snprintf(request, size, "GET %s %sHost: %s:%d\r\n%s", url.path, "HTTP/1.0\r\n",
                      url.host, url.port, "User-Agent: Kestro\r\n\r\n");
    if (written < 0 || static_cast<size_t>(written) >= size) {
        request[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(written);
}
