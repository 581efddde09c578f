// The two replies of the ad servers. Headers are not parsed: the tags may stand anywhere.
//   location reply: ... <adlocation>URL</adlocation> ...
//   archive reply:  ... <link>URL</link> <num>N</num> N x <delay>ms</delay>
//                   [<times>n</times>] <filesize>bytes</filesize> ... PK<the ZIP bytes>
#pragma once

#include <cstddef>

#include "ad/ad_url.h"

constexpr size_t kLocationReplySize = 1024;  // at most 1023 bytes are kept, then a terminator
constexpr size_t kArchiveBufferSize = 65536; // the whole archive reply, headers and ZIP
constexpr int kMaxAdFrames = 32;             // a <num> beyond this is refused
constexpr int kMaxFrameDelayMs = 60 * 60000; // longer delays are held at one hour

// Appends what still fits into a buffer of `capacity` bytes holding `used` bytes; returns the new
// count. Bytes beyond the capacity are dropped.
size_t AppendReplyBytes(char* buffer, size_t capacity, size_t used, const char* data, size_t count);

// The archive URL: the text between "<adlocation>" and the next "</adlocation>", looked for in
// the reply up to its first NUL byte. False when either tag is missing or the URL does not fit
// into `size` bytes.
bool FindAdLocation(const char* reply, size_t length, char* url, size_t size);

struct ArchiveDescription {
    char link[kAdTextSize];
    int frameCount;
    int delays[kMaxAdFrames]; // milliseconds, 0 .. kMaxFrameDelayMs
    int declaredZipSize;
    size_t zipStart; // offset of the first "PK"; everything before it is the tag block
    size_t zipSize;  // bytes from zipStart to the end of what was received
};

// Reads the archive reply's tags from the received bytes. False (the banner falls back to its
// built-in images) when a tag or "PK" is missing before the first NUL byte, a number is missing,
// <num> is not 1 .. kMaxAdFrames, fewer than <num> delays follow, or the link does not fit.
bool ParseArchiveReply(const char* reply, size_t received, ArchiveDescription& description);
