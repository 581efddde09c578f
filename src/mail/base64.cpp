#include "mail/base64.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

} // namespace

uint32_t Base64EncodedLength(uint32_t length) {
    uint32_t characters = (length + 2) / 3 * 4;
    return characters + characters / kBase64LineLength * 2;
}

bool EncodeBase64Block(const unsigned char* data, uint32_t length, char* output, size_t outputSize,
                       uint32_t* outputLength) {
    const uint32_t total = Base64EncodedLength(length);
    if (outputSize < static_cast<size_t>(total) + 1) {
        return false;
    }
    uint32_t written = 0;
    uint32_t onLine = 0;
    auto put = [&](char c) {
        output[written++] = c;
        if (++onLine == kBase64LineLength) {
            output[written++] = '\r';
            output[written++] = '\n';
            onLine = 0;
        }
    };
    for (uint32_t i = 0; i < length; i += 3) {
        const uint32_t left = length - i;
        uint32_t group = static_cast<uint32_t>(data[i]) << 16;
        if (left > 1) {
            group |= static_cast<uint32_t>(data[i + 1]) << 8;
        }
        if (left > 2) {
            group |= data[i + 2];
        }
        put(kAlphabet[(group >> 18) & 0x3F]);
        put(kAlphabet[(group >> 12) & 0x3F]);
        put(left > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=');
        put(left > 2 ? kAlphabet[group & 0x3F] : '=');
    }
    output[written] = '\0';
    *outputLength = written;
    return true;
}

size_t EncodeBase64Line(const unsigned char* data, size_t length, char* output, size_t outputSize) {
    const size_t total = (length + 2) / 3 * 4;
    if (outputSize == 0) {
        return 0;
    }
    if (length > outputSize || total + 1 > outputSize) {
        output[0] = '\0';
        return 0;
    }
    size_t written = 0;
    for (size_t i = 0; i < length; i += 3) {
        const size_t left = length - i;
        uint32_t group = static_cast<uint32_t>(data[i]) << 16;
        if (left > 1) {
            group |= static_cast<uint32_t>(data[i + 1]) << 8;
        }
        if (left > 2) {
            group |= data[i + 2];
        }
        output[written++] = kAlphabet[(group >> 18) & 0x3F];
        output[written++] = kAlphabet[(group >> 12) & 0x3F];
        output[written++] = left > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        output[written++] = left > 2 ? kAlphabet[group & 0x3F] : '=';
    }
    output[written] = '\0';
    return written;
}
