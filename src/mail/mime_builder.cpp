#include "mail/mime_builder.h"

#include "base/program_settings.h"
#include "mail/base64.h"
#include "mail/mail_encoding.h"
#include "mail/outgoing_message.h"

#include <algorithm>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

// Header lines fold before this column where they can, as mail programs are expected to; no
// line is ever longer than kSmtpLineLimit.
constexpr size_t kFoldColumn = 78;
// A file name longer than this goes out in numbered pieces of this length (name*0, name*1, ...).
constexpr size_t kNamePieceLength = 64;

// A value that goes into a header as it is, at most most bytes of it, with CR and LF turned
// into blanks, so that it can never end its line or start a header of its own.
std::string OneLine(const char* text, size_t most) {
    size_t length = 0;
    while (length < most && text[length] != '\0') {
        ++length;
    }
    std::string line(text, length);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

// Text that a header can only carry as encoded words: bytes of 0x80 and above, or control
// characters other than the tab.
bool NeedsEncodedWords(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 0x80 || c == 0x7F || (c < 0x20 && c != '\t')) {
            return true;
        }
    }
    return false;
}

// The text as a quoted string: a quote or a backslash in it is escaped with a backslash.
std::string QuotedString(const char* text) {
    std::string quoted = "\"";
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '"' || *p == '\\') {
            quoted += '\\';
        }
        quoted += *p;
    }
    return quoted + '"';
}

// "To: <a@b.c>, <d@e.f>\r\n": the prefix before the first address, a comma before each further.
// The line folds between addresses rather than pass the fold column. An empty list gives no
// line: a bare CR LF would end the header block.
void AppendAddressLine(BoundedText& text, const char* prefix, const RecipientList& list) {
    if (list.entries[0][0] == '\0') {
        return;
    }
    AppendFormat(text, "%s", prefix);
    size_t column = std::strlen(prefix);
    for (int i = 0; i < kRecipientCount && list.entries[i][0] != '\0'; ++i) {
        const std::string address = "<" + OneLine(list.entries[i], kRecipientLength - 1) + ">";
        // A further address goes on a new line when it would pass the fold column; room is kept
        // for the comma that may follow it.
        const bool fold = i > 0 && column + 2 + address.size() + 1 > kFoldColumn;
        const char* separator = i == 0 ? " " : fold ? ",\r\n " : ", ";
        AppendFormat(text, "%s%s", separator, address.c_str());
        column = fold ? 1 + address.size() : column + std::strlen(separator) + address.size();
    }
    AppendFormat(text, "\r\n");
}

// The column at which the last line of text ends.
size_t LastLineColumn(const char* text) {
    const char* lineEnd = std::strrchr(text, '\n');
    return std::strlen(lineEnd != nullptr ? lineEnd + 1 : text);
}

// "Prefix: "Name" <address>"; a name with bytes of 0x80 and above or control characters goes as
// encoded words, and the address moves to a line of its own when it would pass the fold column.
void AppendNamedAddressLine(BoundedText& text, const char* prefix, const char* name,
                            const char* address) {
    char words[kNameLength * 5];
    if (NeedsEncodedWords(name)) {
        EncodeHeaderWords(name, words, sizeof words);
    } else {
        CopyField(words, sizeof words, QuotedString(name).c_str());
    }
    const std::string line = OneLine(address, kNameLength - 1);
    const size_t column =
        (std::strchr(words, '\n') == nullptr ? std::strlen(prefix) + 1 : 0) + LastLineColumn(words);
    const bool fold = column + line.size() + 3 > kFoldColumn;
    AppendFormat(text, "%s %s%s<%s>\r\n", prefix, words, fold ? "\r\n " : " ", line.c_str());
}

// The Subject line: the text as it is, or as encoded words when it holds what a header cannot
// carry or would pass the longest line SMTP carries.
void AppendSubjectLine(BoundedText& text, const char* subject) {
    constexpr char kPrefix[] = "Subject: ";
    if (!NeedsEncodedWords(subject) &&
        sizeof kPrefix - 1 + std::strlen(subject) <= kSmtpLineLimit) {
        AppendFormat(text, "%s%s\r\n", kPrefix, subject);
        return;
    }
    char words[kSubjectLength * 5];
    EncodeHeaderWords(subject, words, sizeof words);
    AppendFormat(text, "%s%s\r\n", kPrefix, words);
}

// A parameter with the file name: name="..." on the line, or in numbered pieces name*0="...",
// name*1="...", each on a line of its own, when the name is too long for one line.
void AppendNameParameter(BoundedText& text, const char* parameter, const char* name,
                         bool inPieces) {
    if (!inPieces) {
        AppendFormat(text, "%s=%s", parameter, QuotedString(name).c_str());
        return;
    }
    const size_t length = std::strlen(name);
    for (size_t at = 0, piece = 0; at < length; at += kNamePieceLength, ++piece) {
        const std::string part(name + at, std::min(kNamePieceLength, length - at));
        AppendFormat(text, "%s%s*%u=%s", at == 0 ? "" : ";\r\n\t", parameter,
                     static_cast<unsigned>(piece), QuotedString(part.c_str()).c_str());
    }
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
    AppendFormat(text, "Date: %s\r\n", OneLine(dateText, kDateTextSize - 1).c_str());
    AppendFormat(text, "Message-ID: %s\r\n", OneLine(messageId, kMessageIdSize - 1).c_str());
    char subject[kSubjectLength];
    CopyField(subject, sizeof subject, message.subject);
    AppendSubjectLine(text, subject);
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
    if (NeedsEncodedWords(name)) {
        char words[kAttachmentPathLength * 5];
        EncodeHeaderWords(name, words, sizeof words);
        AppendFormat(text, "Content-Type: %s;\r\n\tname=\"%s\"\r\n", LookupContentType(path),
                     words);
        AppendFormat(text, "Content-Transfer-Encoding: base64\r\n");
        AppendFormat(text, "Content-Disposition: attachment;\r\n\tfilename=\"%s\"\r\n\r\n", words);
        return text.length;
    }
    const char* type = LookupContentType(path);
    const bool inPieces =
        std::strlen("Content-Type: ; name=") + std::strlen(type) + QuotedString(name).size() >
        kSmtpLineLimit;
    AppendFormat(text, "Content-Type: %s; ", type);
    AppendNameParameter(text, "name", name, inPieces);
    AppendFormat(text, "\r\nContent-Transfer-Encoding: base64\r\n");
    AppendFormat(text, "Content-Disposition: attachment;\r\n\t");
    AppendNameParameter(text, "filename", name, inPieces);
    AppendFormat(text, "\r\n\r\n");
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
