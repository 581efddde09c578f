// A plain base64 decoder for the tests: skips CR LF, stops at '='.
#pragma once

#include <string>

inline std::string DecodeBase64ForTest(const std::string& text) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            continue;
        }
        if (c == '=') {
            break;
        }
        bits = (bits << 6) | static_cast<unsigned>(alphabet.find(c));
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return bytes;
}
