// The SMTP reply reader: server bytes fed in pieces of any size give the same replies as fed at
// once; every reply is kept terminated inside its buffer, with a code of three digits or 0.
#include "fuzz_support.h"

#include <cstring>
#include <utility>

#include "mail/smtp_reply.h"

namespace {

using Replies = std::vector<std::pair<std::string, int>>;

// Feeds the bytes in pieces of the sizes given in turn (the whole rest for a size of 0).
Replies Read(const std::string& bytes, const std::vector<size_t>& pieces) {
    Replies replies;
    SmtpReplyReader reader;
    StartSmtpReply(reader);
    size_t at = 0;
    for (size_t turn = 0; at < bytes.size(); ++turn) {
        const size_t piece = pieces[turn % pieces.size()];
        const size_t length = piece == 0 ? bytes.size() - at : std::min(piece, bytes.size() - at);
        for (size_t fed = 0; fed < length;) {
            const size_t taken = FeedSmtpReply(reader, bytes.data() + at + fed, length - fed);
            FUZZ_CHECK(taken <= length - fed);
            FUZZ_CHECK(reader.textLength < kSmtpReplyTextSize &&
                       reader.text[reader.textLength] == '\0');
            fed += taken;
            if (reader.complete) {
                FUZZ_CHECK(reader.code >= 0 && reader.code <= 999);
                replies.emplace_back(reader.text, reader.code);
                StartSmtpReply(reader);
            } else {
                // An unfinished reply takes every byte it is given, or stops at a line's end.
                FUZZ_CHECK(fed == length || reader.lineEnded);
            }
        }
        at += length;
    }
    return replies;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Replies whole = Read(bytes, {0});
    FUZZ_CHECK(Read(bytes, {1}) == whole);
    FUZZ_CHECK(Read(bytes, {3, 1, 7, 2, 64}) == whole);
    return 0;
}
