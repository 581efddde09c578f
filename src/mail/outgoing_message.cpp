#include "mail/outgoing_message.h"

#include "base/text_fields.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>

static_assert(std::is_trivially_copyable<OutgoingMessage>::value,
              "the snapshot is reset by zero-filling it");

void ResetOutgoingMessage(OutgoingMessage& message) {
    std::free(message.textPart);
    std::free(message.rtfStream);
    std::free(message.htmlPart);
    std::memset(&message, 0, sizeof message);
}

bool AppendRtfChunk(OutgoingMessage& message, const char* data, uint32_t length) {
    if (length == 0) {
        return true;
    }
    if (length > UINT32_MAX - 1 - message.rtfLength) {
        return false;
    }
    const uint32_t newLength = message.rtfLength + length;
    char* grown = static_cast<char*>(std::realloc(message.rtfStream, newLength + 1));
    if (grown == nullptr) {
        return false;
    }
    std::memcpy(grown + message.rtfLength, data, length);
    grown[newLength] = '\0';
    message.rtfStream = grown;
    message.rtfLength = newLength;
    return true;
}

bool AddOutgoingAttachment(OutgoingMessage& message, const char* path, uint32_t size) {
    if (message.attachmentCount < 0 || message.attachmentCount >= kMaxAttachments) {
        return false;
    }
    CopyField(message.attachmentPaths[message.attachmentCount], kAttachmentPathLength, path);
    message.attachmentSizes[message.attachmentCount] = size;
    ++message.attachmentCount;
    // The total only feeds the progress estimate: it stops at the largest count.
    message.attachmentBytes =
        size > UINT32_MAX - message.attachmentBytes ? UINT32_MAX : message.attachmentBytes + size;
    return true;
}
