#include "mail/mime_builder.h"

#include "app/settings_file.h"
#include "mail/outgoing_message.h"

#include <cstdarg>
#include <cstdio>
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

void FormatMailDate(time_t when, char* out, size_t outSize) {
    if (outSize == 0) {
        return;
    }
    out[0] = '\0';
    const struct tm* local = std::localtime(&when);
    if (local != nullptr && std::strftime(out, outSize, "%a, %d %b %y %H:%M:%S %Z", local) == 0) {
        out[0] = '\0';
    }
}

size_t BuildHeaderBlock(const ProgramSettings& settings, const OutgoingMessage& message,
                        const char* dateText, char* out, size_t outSize) {
    BoundedText text = StartText(out, outSize);
    if (settings.replyTo[0] != '\0') {
        AppendFormat(text, "Reply-To: \"%s\" <%s>\r\n", settings.userName, settings.replyTo);
    }
    AppendFormat(text, "From: \"%s\" <%s>\r\n", settings.userName, settings.mailFrom);
    AppendAddressLine(text, "To:", message.to);
    AppendAddressLine(text, "Cc:", message.cc);
    AppendFormat(text, "Date: %s\r\n", dateText);
    AppendFormat(text, "Subject: %.*s\r\n", kSubjectLength - 1, message.subject);
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
