#include "mail/mime_builder.h"

#include "base/program_settings.h"
#include "mail/base64.h"
#include "mail/mail_encoding.h"
#include "mail/outgoing_message.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Appends formatted text to a fixed buffer, cutting what does not fit; always terminated.
struct BoundedText {
    char* out;
    size_t size;
    size_t length;
};

void AppendFormat(BoundedText& text, const char* format, ...) {
    if (text.size == 0 || text.length + 1 >= text.size) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    const size_t room = text.size - text.length;
    const int written = std::vsnprintf(text.out + text.length, room, format, arguments);
    va_end(arguments);
    if (written > 0) {
        text.length +=
            static_cast<size_t>(written) < room ? static_cast<size_t>(written) : room - 1;
    }
}

BoundedText StartText(char* out, size_t outSize) {
    if (outSize > 0) {
        out[0] = '\0';
    }
    return BoundedText{out, outSize, 0};
}

// "To: <a@b.c>, <d@e.f>\r\n": the prefix before the first address, a comma before each further.
// An empty list gives no line: a bare CR LF would end the header block.
void AppendAddressLine(BoundedText& text, const char* prefix, const RecipientList& list) {
    if (list.entries[0][0] == '\0') {
        return;
    }
    for (int i = 0; i < kRecipientCount && list.entries[i][0] != '\0'; ++i) {
        AppendFormat(text, "%s <%.*s>", i == 0 ? prefix : ",", kRecipientLength - 1,
                     list.entries[i]);
    }
    AppendFormat(text, "\r\n");
}

// The column at which the last line of text ends.
size_t LastLineColumn(const char* text) {
    const char* lineEnd = std::strrchr(text, '\n');
    return std::strlen(lineEnd != nullptr ? lineEnd + 1 : text);
}

// "Prefix: "Name" <address>"; a name with bytes of 0x80 and above goes as encoded words, and
// the address moves to a line of its own when the words leave no room for it.
void AppendNamedAddressLine(BoundedText& text, const char* prefix, const char* name,
                            const char* address) {
    if (!HasEightBitBytes(name, std::strlen(name))) {
        AppendFormat(text, "%s \"%s\" <%s>\r\n", prefix, name, address);
        return;
    }
    char words[kNameLength * 5];
    EncodeHeaderWords(name, words, sizeof words);
    const size_t column =
        (std::strchr(words, '\n') == nullptr ? std::strlen(prefix) + 1 : 0) + LastLineColumn(words);
    const bool fold = column + std::strlen(address) + 3 > 76;
    AppendFormat(text, "%s %s%s<%s>\r\n", prefix, words, fold ? "\r\n " : " ", address);
}

struct ContentTypeRow {
    const char* extensions[5];
    const char* type;
};

// Searched in this order; the first extension found anywhere in the path decides.
const ContentTypeRow kContentTypes[] = {
    {{".wav"}, "audio/wav"},
    {{".mp3"}, "audio/mpeg"},
    {{".ra", ".ram", ".rm", ".rmm"}, "audio/x-pn-realaudio"},
    {{".ogg"}, "audio/ogg"},
    {{".au", ".snd"}, "audio/basic"},
    {{".jpg", ".jpeg"}, "image/jpeg"},
    {{".avi"}, "video/avi"},
    {{".mpeg", ".mpg", ".mpe", ".mpv", ".m1v"}, "video/mpeg"},
    {{".asf"}, "video/x-ms-asf"},
    {{".mov", ".qt"}, "video/quicktime"},
    {{".gif"}, "image/gif"},
    {{".bmp"}, "image/x-ms-bmp"},
    {{".zip"}, "application/x-zip-compressed"},
    {{".htm", ".html"}, "text/html"},
    {{".txt", ".text"}, "text/plain"},
};

} // namespace

void FormatMailDate(const MailLocalTime& local, int utcOffsetMinutes, char* out, size_t outSize) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (outSize == 0) {
        return;
    }
    out[0] = '\0';
    if (local.weekday < 0 || local.weekday > 6 || local.month < 1 || local.month > 12) {
        return;
    }
    const int offset = std::abs(utcOffsetMinutes) % (100 * 60);
    std::snprintf(out, outSize, "%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", kDays[local.weekday],
                  local.day, kMonths[local.month - 1], local.year, local.hour, local.minute,
                  local.second, utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
}

void FormatMessageId(uint64_t seconds, uint32_t processId, uint32_t counter, const char* sender,
                     char* out, size_t outSize) {
    const char* at = std::strrchr(sender, '@');
    const char* domain = at != nullptr && at[1] != '\0' ? at + 1 : "localhost";
    if (outSize > 0 && std::snprintf(out, outSize, "<%" PRIu64 ".%" PRIu32 ".%" PRIu32 "@%s>",
                                     seconds, processId, counter, domain) < 0) {
        out[0] = '\0';
    }
}

size_t BuildHeaderBlock(const ProgramSettings& settings, const OutgoingMessage& message,
                        const char* dateText, const char* messageId, char* out, size_t outSize) {
    BoundedText text = StartText(out, outSize);
    if (settings.replyTo[0] != '\0') {
        AppendNamedAddressLine(text, "Reply-To:", settings.userName, settings.replyTo);
    }
    AppendNamedAddressLine(text, "From:", settings.userName, settings.mailFrom);
    AppendAddressLine(text, "To:", message.to);
    AppendAddressLine(text, "Cc:", message.cc);
    AppendFormat(text, "Date: %s\r\n", dateText);
    AppendFormat(text, "Message-ID: %s\r\n", messageId);
    char subject[kSubjectLength];
    CopyField(subject, sizeof subject, message.subject);
    if (HasEightBitBytes(subject, std::strlen(subject))) {
        char words[kSubjectLength * 5];
        EncodeHeaderWords(subject, words, sizeof words);
        AppendFormat(text, "Subject: %s\r\n", words);
    } else {
        AppendFormat(text, "Subject: %s\r\n", subject);
    }
    AppendFormat(text, "X-mailer: Kestro\r\n");
    AppendFormat(text, "MIME-Version: 1.0\r\n");
    AppendFormat(text, "Content-Type: multipart/mixed; boundary=\"%s\"\r\n", kMainBoundary);
    AppendFormat(text, "\r\nmultipart message in MIME format\r\n");
    return text.length;
}

const char* AttachmentFileName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') {
            name = p + 1;
        }
    }
    return name;
}

const char* LookupContentType(const char* path) {
    for (const ContentTypeRow& row : kContentTypes) {
        for (const char* extension : row.extensions) {
            if (extension != nullptr && std::strstr(path, extension) != nullptr) {
                return row.type;
            }
        }
    }
    return "application/octet-stream";
}

size_t BuildAttachmentHeader(const char* path, char* out, size_t outSize) {
    const char* name = AttachmentFileName(path);
    BoundedText text = StartText(out, outSize);
    AppendFormat(text, "\r\n--%s\r\n", kMainBoundary);
    if (HasEightBitBytes(name, std::strlen(name))) {
        char words[kAttachmentPathLength * 5];
        EncodeHeaderWords(name, words, sizeof words);
        AppendFormat(text, "Content-Type: %s;\r\n\tname=\"%s\"\r\n", LookupContentType(path),
                     words);
        AppendFormat(text, "Content-Transfer-Encoding: base64\r\n");
        AppendFormat(text, "Content-Disposition: attachment;\r\n\tfilename=\"%s\"\r\n\r\n", words);
        return text.length;
    }
    AppendFormat(text, "Content-Type: %s; name=\"%s\"\r\n", LookupContentType(path), name);
    AppendFormat(text, "Content-Transfer-Encoding: base64\r\n");
    AppendFormat(text, "Content-Disposition: attachment;\r\n\tfilename=\"%s\"\r\n\r\n", name);
    return text.length;
}

size_t BuildAlternativeEnd(char* out, size_t outSize) {
    BoundedText text = StartText(out, outSize);
    AppendFormat(text, "%s\r\n--%s--\r\n", kHtmlTrailerText, kAlternativeBoundary);
    return text.length;
}

size_t BuildEndOfData(char* out, size_t outSize) {
    BoundedText text = StartText(out, outSize);
    AppendFormat(text, "\r\n--%s--\r\n\r\n.\r\n", kMainBoundary);
    return text.length;
}

uint64_t MessageSizeAfterHeaders(const OutgoingMessage& message, char* scratch,
                                 size_t scratchSize) {
    uint64_t size = 0;
    if (message.textReady && message.textPart != nullptr) {
        size += message.textLength;
    }
    size += std::strlen(kPlainTrailerText);
    if (message.alternative && message.htmlReady && message.htmlPart != nullptr) {
        size += message.htmlLength + BuildAlternativeEnd(scratch, scratchSize);
    }
    for (int i = 0; i < message.attachmentCount && i < kMaxAttachments; ++i) {
        size += BuildAttachmentHeader(message.attachmentPaths[i], scratch, scratchSize);
        // Blocks and chunks are whole lines of base64, so the file encodes as one text.
        const uint64_t characters = (static_cast<uint64_t>(message.attachmentSizes[i]) + 2) / 3 * 4;
        size += characters + characters / kBase64LineLength * 2;
    }
    // The end-of-data mark ".\r\n" is not part of the message.
    return size + BuildEndOfData(scratch, scratchSize) - 3;
}
