#include "ad/ad_replies.h"

#include <climits>
#include <initializer_list>
#include <cstring>

namespace {

// A view of the reply up to its first NUL byte; every search stays inside it.
struct ReplyText {
    const char* begin;
    size_t length;

    // Offset of the first `tag` at or after `from`, or length when there is none.
    size_t Find(const char* tag, size_t from) const {
        const size_t tagLength = std::strlen(tag);
        for (size_t at = from; at + tagLength <= length; ++at) {
            if (std::memcmp(begin + at, tag, tagLength) == 0) {
                return at;
            }
        }
        return length;
    }
};

ReplyText TextOf(const char* reply, size_t received) {
    if (received == 0) { // nothing arrived: the buffer may not even exist
        return {reply, 0};
    }
    const void* nul = std::memchr(reply, '\0', received);
    return {reply, nul ? static_cast<size_t>(static_cast<const char*>(nul) - reply) : received};
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A decimal number as "%d" reads it: white space, an optional sign, digits. Values beyond int
// are held at its limits. False when no digit follows.
bool ReadNumber(const ReplyText& text, size_t at, int& value) {
    while (at < text.length && IsSpace(text.begin[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.length && (text.begin[at] == '+' || text.begin[at] == '-')) {
        negative = text.begin[at] == '-';
        ++at;
    }
    if (at >= text.length || text.begin[at] < '0' || text.begin[at] > '9') {
        return false;
    }
    long long magnitude = 0;
    for (; at < text.length && text.begin[at] >= '0' && text.begin[at] <= '9'; ++at) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
            magnitude = magnitude * 10 + (text.begin[at] - '0');
        }
    }
    if (negative) {
        value = magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN
                                                                : static_cast<int>(-magnitude);
    } else {
        value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
    }
    return true;
}

// The number that follows the tag found at `tagAt`.
bool ReadTagNumber(const ReplyText& text, size_t tagAt, const char* tag, int& value) {
    return ReadNumber(text, tagAt + std::strlen(tag), value);
}

// The link as "%s" reads it after "<link>": white space skipped, then the text up to the next
// white space, cut at "</link>".
bool ReadLink(const ReplyText& text, size_t tagAt, char* link) {
    size_t start = tagAt + std::strlen("<link>");
    while (start < text.length && IsSpace(text.begin[start])) {
        ++start;
    }
    size_t end = start;
    while (end < text.length && !IsSpace(text.begin[end])) {
        ++end;
    }
    const ReplyText word = {text.begin + start, end - start};
    const size_t length = word.Find("</link>", 0);
    if (length >= kAdTextSize) {
        return false;
    }
    std::memcpy(link, word.begin, length);
    link[length] = '\0';
    return true;
}

int ClampDelay(int delay) {
    if (delay < 0) {
        return 0;
    }
    return delay > kMaxFrameDelayMs ? kMaxFrameDelayMs : delay;
}

} // namespace

size_t AppendReplyBytes(char* buffer, size_t capacity, size_t used, const char* data,
                        size_t count) {
    if (used >= capacity) {
        return used;
    }
    const size_t room = capacity - used;
    const size_t taken = count < room ? count : room;
    if (taken > 0) {
        std::memcpy(buffer + used, data, taken);
    }
    return used + taken;
}

bool FindAdLocation(const char* reply, size_t length, char* url, size_t size) {
    const ReplyText text = TextOf(reply, length);
    const size_t open = text.Find("<adlocation>", 0);
    if (open == text.length) {
        return false;
    }
    const size_t start = open + std::strlen("<adlocation>");
    const size_t close = text.Find("</adlocation>", start);
    if (close == text.length || close - start >= size) {
        return false;
    }
    std::memcpy(url, text.begin + start, close - start);
    url[close - start] = '\0';
    return true;
}

bool ParseArchiveReply(const char* reply, size_t received, ArchiveDescription& description) {
    const ReplyText text = TextOf(reply, received);
    const size_t linkAt = text.Find("<link>", 0);
    const size_t numAt = text.Find("<num>", 0);
    const size_t firstDelayAt = text.Find("<delay>", 0);
    const size_t fileSizeAt = text.Find("<filesize>", 0);
    const size_t zipStart = text.Find("PK", 0);
    for (size_t at : {linkAt, numAt, firstDelayAt, fileSizeAt, zipStart}) {
        if (at == text.length) {
            return false;
        }
    }
    ArchiveDescription parsed = {};
    if (!ReadLink(text, linkAt, parsed.link) ||
        !ReadTagNumber(text, numAt, "<num>", parsed.frameCount) ||
        !ReadTagNumber(text, fileSizeAt, "<filesize>", parsed.declaredZipSize)) {
        return false;
    }
    if (parsed.frameCount < 1 || parsed.frameCount > kMaxAdFrames) {
        return false;
    }
    size_t delayAt = firstDelayAt;
    for (int frame = 0; frame < parsed.frameCount; ++frame) {
        if (frame > 0) {
            delayAt = text.Find("<delay>", delayAt + 1);
        }
        int delay = 0;
        if (delayAt == text.length || !ReadTagNumber(text, delayAt, "<delay>", delay)) {
            return false;
        }
        parsed.delays[frame] = ClampDelay(delay);
    }
    parsed.zipStart = zipStart;
    parsed.zipSize = received - zipStart;
    description = parsed;
    return true;
}
