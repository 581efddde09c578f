#include "print/size_texts.h"

#include <cmath>
#include <cstdio>

namespace {

// The scale factors are single-precision constants; the products are taken in double.
constexpr float kPerKilo = 0.001f;
constexpr float kPerMega = 0.000001f;

} // namespace

void FormatFileSize(long long bytes, char* out, size_t outSize) {
    if (outSize == 0) {
        return;
    }
    if (bytes < 0) {
        std::snprintf(out, outSize, "filesize error");
        return;
    }
    const float v = static_cast<float>(bytes);
    if (v == 0.0f) {
        std::snprintf(out, outSize, "  0 bytes   ");
    } else if (v < 1000.0f) {
        std::snprintf(out, outSize, "%3.0f %s", static_cast<double>(v), "bytes");
    } else if (v >= 1000000.0f) {
        std::snprintf(out, outSize, "%3.1f %s", static_cast<double>(v) * kPerMega, "MB");
    } else {
        std::snprintf(out, outSize, "%4.1f %s", static_cast<double>(v) * kPerKilo, "kB");
    }
}

bool FormatDurationTenths(double seconds, char* out, size_t outSize) {
    // Beyond 2^62 seconds the whole part no longer fits a 64-bit count.
    if (outSize == 0 || !(seconds >= 0.0) || seconds >= 4.6e18) {
        return false;
    }
    const int tenths = static_cast<int>((seconds - std::floor(seconds)) * 10.0);
    const long long whole = static_cast<long long>(seconds);
    const int s = static_cast<int>(whole % 60);
    const long long m = whole / 60;
    if (seconds < 60.0) {
        std::snprintf(out, outSize, s >= 10 ? "00:%d.%d" : "00:0%d.%d", s, tenths);
    } else if (s == 0) {
        std::snprintf(out, outSize, "%lld:00.%d", m, tenths);
    } else {
        std::snprintf(out, outSize, s >= 10 ? "%lld:%d.%d" : "%lld:0%d.%d", m, s, tenths);
    }
    return true;
}

bool FormatDurationSeconds(int seconds, char* out, size_t outSize) {
    if (outSize == 0 || seconds < 0) {
        return false;
    }
    const int s = seconds % 60;
    const int m = seconds / 60;
    if (seconds < 60) {
        std::snprintf(out, outSize, s >= 10 ? " 00:%d " : " 00:0%d ", s);
    } else if (s == 0) {
        std::snprintf(out, outSize, " %d:00 ", m);
    } else {
        std::snprintf(out, outSize, s < 10 ? " %d:0%d " : " %d:%d ", m, s);
    }
    return true;
}
