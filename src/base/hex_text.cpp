#include "base/hex_text.h"

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool EncodeHexText(const unsigned char* bytes, size_t length, char* out, size_t outSize) {
    static const char kDigits[] = "0123456789ABCDEF";
    if (outSize == 0) {
        return false;
    }
    if (length > (outSize - 1) / 2) {
        out[0] = '\0';
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        out[2 * i] = kDigits[bytes[i] >> 4];
        out[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    out[2 * length] = '\0';
    return true;
}

bool DecodeHexText(const char* text, unsigned char* bytes, size_t size, size_t* length) {
    size_t count = 0;
    for (const char* p = text; *p != '\0'; p += 2) {
        const int high = HexDigitValue(p[0]);
        const int low = high < 0 ? -1 : HexDigitValue(p[1]);
        if (low < 0 || count == size) {
            return false;
        }
        bytes[count++] = static_cast<unsigned char>(high << 4 | low);
    }
    *length = count;
    return true;
}
