#include "mail/smtp_auth.h"

#include <cstring>

#include "base/program_settings.h"
#include "base/wipe_secret.h"
#include "mail/base64.h"

namespace {

constexpr size_t kLongestText = kNameLength - 1;

// prefix, the base64 of `length` bytes of data, CR LF.
size_t BuildLine(const char* prefix, const unsigned char* data, size_t length, char* out,
                 size_t outSize) {
    const size_t prefixLength = std::strlen(prefix);
    if (outSize == 0) {
        return 0;
    }
    out[0] = '\0';
    if (prefixLength + 3 > outSize) {
        return 0;
    }
    std::memcpy(out, prefix, prefixLength);
    const size_t encoded =
        EncodeBase64Line(data, length, out + prefixLength, outSize - prefixLength - 2);
    if (encoded == 0 && length > 0) {
        out[0] = '\0';
        return 0;
    }
    std::memcpy(out + prefixLength + encoded, "\r\n", 3);
    return prefixLength + encoded + 2;
}

} // namespace

size_t BuildAuthPlainLine(const char* user, const char* password, char* out, size_t outSize) {
    const size_t userLength = std::strlen(user);
    const size_t passwordLength = std::strlen(password);
    if (userLength > kLongestText || passwordLength > kLongestText) {
        if (outSize > 0) {
            out[0] = '\0';
        }
        return 0;
    }
    unsigned char credentials[2 * kLongestText + 2];
    credentials[0] = 0;
    std::memcpy(credentials + 1, user, userLength);
    credentials[1 + userLength] = 0;
    std::memcpy(credentials + 2 + userLength, password, passwordLength);
    const size_t length =
        BuildLine("AUTH PLAIN ", credentials, 2 + userLength + passwordLength, out, outSize);
    WipeSecret(credentials, sizeof credentials);
    return length;
}

size_t BuildAuthLoginLine(char* out, size_t outSize) {
    if (outSize < sizeof "AUTH LOGIN\r\n") {
        if (outSize > 0) {
            out[0] = '\0';
        }
        return 0;
    }
    std::memcpy(out, "AUTH LOGIN\r\n", sizeof "AUTH LOGIN\r\n");
    return sizeof "AUTH LOGIN\r\n" - 1;
}

size_t BuildAuthLoginStep(const char* text, char* out, size_t outSize) {
    const size_t length = std::strlen(text);
    if (length > kLongestText) {
        if (outSize > 0) {
            out[0] = '\0';
        }
        return 0;
    }
    return BuildLine("", reinterpret_cast<const unsigned char*>(text), length, out, outSize);
}
