#include "mail/base64.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The input bytes of one full output line.
constexpr uint32_t kBytesPerLine = kBase64LineLength / 4 * 3;

// The two characters of every 12-bit value: half a group in one look-up.
struct PairTable {
    char pairs[4096][2];
    constexpr PairTable() : pairs() {
        for (int value = 0; value < 4096; ++value) {
            pairs[value][0] = kAlphabet[value >> 6];
            pairs[value][1] = kAlphabet[value & 0x3F];
        }
    }
};
constexpr PairTable kPairs;

// Writes the four characters of one whole group of three bytes.
inline void EncodeGroup(const unsigned char* data, char* output) {
    const uint32_t group = static_cast<uint32_t>(data[0]) << 16 |
                           static_cast<uint32_t>(data[1]) << 8 | static_cast<uint32_t>(data[2]);
    const char* high = kPairs.pairs[group >> 12];
    const char* low = kPairs.pairs[group & 0xFFF];
    output[0] = high[0];
    output[1] = high[1];
    output[2] = low[0];
    output[3] = low[1];
}

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
    char* out = output;
    uint32_t i = 0;
    // Whole lines: 54 bytes become 72 characters and CR LF.
    for (; length - i >= kBytesPerLine; i += kBytesPerLine) {
        for (uint32_t g = 0; g < kBytesPerLine; g += 3) {
            EncodeGroup(data + i + g, out);
            out += 4;
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    // The last line: whole groups, then one padded group; it ends in CR LF only when full.
    const char* lastLine = out;
    for (; length - i >= 3; i += 3) {
        EncodeGroup(data + i, out);
        out += 4;
    }
    const uint32_t left = length - i;
    if (left > 0) {
        const uint32_t group = static_cast<uint32_t>(data[i]) << 16 |
                               (left > 1 ? static_cast<uint32_t>(data[i + 1]) << 8 : 0u);
        *out++ = kAlphabet[group >> 18];
        *out++ = kAlphabet[(group >> 12) & 0x3F];
        *out++ = left > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        *out++ = '=';
    }
    if (out - lastLine == static_cast<int>(kBase64LineLength)) {
        *out++ = '\r';
        *out++ = '\n';
    }
    *out = '\0';
    *outputLength = static_cast<uint32_t>(out - output);
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
