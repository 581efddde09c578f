// The size and duration texts shown by the attachment strip, the voice recorder and the video
// window. Each writes into the caller's buffer, cut to its size and always terminated.
#pragma once

#include <cstddef>

constexpr int kSizeTextLength = 32; // holds every text these routines write

// "  0 bytes   ", "999 bytes", " 1.6 kB", "12.3 MB" (decimal units); "filesize error" below 0.
void FormatFileSize(long long bytes, char* out, size_t outSize);

// Minutes, seconds and tenths: "00:05.2", "1:15.9". Writes nothing and returns false for a
// negative duration (or one that is not a number or too large to count); true otherwise.
bool FormatDurationTenths(double seconds, char* out, size_t outSize);

// Minutes and seconds with a blank on either side: " 00:07 ", " 1:05 ". Writes nothing and
// returns false for a negative count; true otherwise.
bool FormatDurationSeconds(int seconds, char* out, size_t outSize);

template <size_t N> void FormatFileSize(long long bytes, char (&out)[N]) {
    FormatFileSize(bytes, out, N);
}
template <size_t N> bool FormatDurationTenths(double seconds, char (&out)[N]) {
    return FormatDurationTenths(seconds, out, N);
}
template <size_t N> bool FormatDurationSeconds(int seconds, char (&out)[N]) {
    return FormatDurationSeconds(seconds, out, N);
}
