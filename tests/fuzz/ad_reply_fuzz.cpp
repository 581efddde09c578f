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
    // An exact-size copy: a read past the received bytes is an error.
    std::vector<char> reply(data, data + size);

    char location[kLocationReplySize];
    const size_t kept = AppendReplyBytes(location, kLocationReplySize - 1, 0, reply.data(), size);
    location[kept] = '\0';
    char url[kAdTextSize];
    if (FindAdLocation(location, kept, url, sizeof url)) {
        AdUrl parsed;
        if (ParseAdUrl(url, parsed)) {
            char request[kAdTextSize];
            FormatAdRequest(parsed, request, sizeof request);
        }
    }

    const size_t received = size < kArchiveBufferSize ? size : kArchiveBufferSize;
    ArchiveDescription description;
    if (ParseArchiveReply(reply.data(), received, description)) {
        if (description.frameCount < 1 || description.frameCount > kMaxAdFrames ||
            description.zipStart + description.zipSize != received ||
            std::memchr(description.link, '\0', sizeof description.link) == nullptr) {
            std::abort();
        }
        for (int i = 0; i < description.frameCount; ++i) {
            if (description.delays[i] < 0 || description.delays[i] > kMaxFrameDelayMs) {
                std::abort();
            }
        }
    }
    return 0;
}
