// The snapshot of the composed message that is taken for sending and saving. The SMTP session,
// the Simple MAPI sender and the message store read it; one instance serves the whole program.
#pragma once

#include "mail/recipients.h"

#include <cstdint>

constexpr int kMaxAttachments = 64;
constexpr int kSubjectLength = 1024;        // 1023 characters and the terminator
constexpr int kSenderLength = 256;          // a copy of MAILFROM
constexpr int kAttachmentPathLength = 1024; // 1023 characters and the terminator

// The text, RTF and HTML blocks come from malloc/realloc and are NUL-terminated; only
// ResetOutgoingMessage and the body part builders (body_parts.h) allocate or free them.
struct OutgoingMessage {
    int32_t cancelRequested; // set by the cancel-send command: no Message Sent dialog
    char sender[kSenderLength];
    RecipientList to;
    RecipientList cc;
    RecipientList bcc;
    char subject[kSubjectLength];

    uint32_t textLength; // the text part: sub-headers, then the plain text
    int32_t textReady;
    char* textPart;

    uint32_t rtfLength; // the editor's RTF stream-out; non-zero while rtfStream is allocated
    char* rtfStream;

    int32_t htmlReady; // the HTML part: sub-headers, then the HTML document
    uint32_t htmlLength;
    char* htmlPart;

    int32_t alternative; // the body was formatted: text and HTML go in multipart/alternative
    int32_t attachmentCount;
    char attachmentPaths[kMaxAttachments][kAttachmentPathLength];
    uint32_t attachmentBytes; // the attachments' total size, for the progress estimate
    uint32_t attachmentSizes[kMaxAttachments]; // each file's size, for the message's size
    int32_t hasCc;
    int32_t hasBcc;
};

// Frees the text, RTF and HTML blocks and zero-fills every field, cancelRequested included.
// The composer's alreadySent flag is cleared by the caller, which owns it.
void ResetOutgoingMessage(OutgoingMessage& message);

// Appends a chunk of the editor's RTF stream-out, growing the block by exactly the chunk (and
// keeping it terminated). False when memory runs out; the block collected so far is kept.
bool AppendRtfChunk(OutgoingMessage& message, const char* data, uint32_t length);

// Adds an attachment path (cut to 1023 characters) and its size. False when all 64 are used.
bool AddOutgoingAttachment(OutgoingMessage& message, const char* path, uint32_t size);
