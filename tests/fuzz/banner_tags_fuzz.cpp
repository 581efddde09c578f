// The ad servers' replies as they arrive over plain HTTP: the location reply, the address it
// names, and the archive reply's tags.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ad/ad_replies.h"
#include "ad/ad_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the received bytes on the heap: a read past them is reported.
    const std::vector<char> reply(data,
                                  data + (size < kArchiveBufferSize ? size : kArchiveBufferSize));
    char url[kAdTextSize];
    AdUrl parsed;
    char request[kAdTextSize];
    if (FindAdLocation(reply.data(), reply.size(), url, sizeof url) && ParseAdUrl(url, parsed)) {
        FormatAdRequest(parsed, request, sizeof request);
    }
    ArchiveDescription d;
    if (ParseArchiveReply(reply.data(), reply.size(), d) &&
        (d.frameCount < 1 || d.frameCount > kMaxAdFrames ||
         d.zipStart + d.zipSize != reply.size() || !std::memchr(d.link, '\0', sizeof d.link))) {
        std::abort();
    }
    return 0;
}
