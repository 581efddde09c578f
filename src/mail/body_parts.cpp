#include "mail/body_parts.h"

#include "mail/mail_encoding.h"
#include "mail/mime_builder.h"
#include "mail/outgoing_message.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The Content-Type and encoding lines of a text or HTML part: 7bit for plain ASCII in short
// lines, otherwise windows-1252 in quoted-printable.
std::string ContentLines(const char* type, bool encoded) {
    return std::string("Content-Type: ") + type +
           (encoded ? std::string("; charset=") + kMailCharset +
                          "\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
                    : std::string("\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"));
}

std::string PlainTextHeaders(bool encoded) {
    return std::string("\r\n--") + kMainBoundary + "\r\n" + ContentLines("text/plain", encoded);
}

std::string AlternativeTextHeaders(bool encoded) {
    return std::string("\r\n--") + kMainBoundary +
           "\r\n"
           "Content-Type: multipart/alternative;\r\n"
           "\tboundary=\"" +
           kAlternativeBoundary +
           "\"\r\n\r\n"
           "\r\n--" +
           kAlternativeBoundary + "\r\n" + ContentLines("text/plain", encoded);
}

std::string HtmlHeaders(bool encoded) {
    return std::string("\r\n\r\n--") + kAlternativeBoundary + "\r\n" +
           ContentLines("text/html", encoded);
}

// Whether the content needs quoted-printable: bytes of 0x80 and above, or a line that SMTP
// cannot carry (a long paragraph of the HTML document is one line). Its soft line breaks keep
// every line short and decode to exactly the text.
bool NeedsQuotedPrintable(const char* content, size_t length) {
    return HasEightBitBytes(content, length) || HasLineLongerThan(content, length, kSmtpLineLimit);
}

// The content as it goes out: every line ending in CR LF, and quoted-printable when asked.
std::string WireContent(const char* content, size_t length, bool encoded) {
    const std::string lines = WithCrLfLineEnds(content, length);
    return encoded ? EncodeQuotedPrintable(lines.data(), lines.size()) : lines;
}

// The sub-headers followed by the content with every line-leading dot doubled, in a new
// terminated malloc block; nullptr when memory runs out or the part would not fit 32 bits.
char* ComposePart(const std::string& headers, const char* content, size_t length,
                  uint32_t* partLength) {
    size_t dots = 0;
    for (size_t i = 0; i < length; ++i) {
        if (content[i] == '.' && (i == 0 || content[i - 1] == '\n')) {
            ++dots;
        }
    }
    if (length > UINT32_MAX - 1 - headers.size() - dots) {
        return nullptr;
    }
    const size_t total = headers.size() + length + dots;
    char* part = static_cast<char*>(std::malloc(total + 1));
    if (part == nullptr) {
        return nullptr;
    }
    std::memcpy(part, headers.data(), headers.size());
    size_t used = headers.size();
    for (size_t i = 0; i < length; ++i) {
        if (content[i] == '.' && (i == 0 || content[i - 1] == '\n')) {
            part[used++] = '.';
        }
        part[used++] = content[i];
    }
    part[used] = '\0';
    *partLength = static_cast<uint32_t>(used);
    return part;
}

// Rewrites the start of a text part that opened the multipart/alternative container.
void FallBackToPlainTextPart(OutgoingMessage& message, bool encoded) {
    const std::string alternative = AlternativeTextHeaders(encoded);
    if (!message.textReady || message.textLength < alternative.size() ||
        std::memcmp(message.textPart, alternative.data(), alternative.size()) != 0) {
        return;
    }
    const std::string plain = PlainTextHeaders(encoded);
    const size_t contentLength = message.textLength - alternative.size();
    std::memcpy(message.textPart, plain.data(), plain.size());
    std::memmove(message.textPart + plain.size(), message.textPart + alternative.size(),
                 contentLength + 1);
    message.textLength = static_cast<uint32_t>(plain.size() + contentLength);
}

} // namespace

void AppendEditorLine(std::string& text, const char* line, size_t length) {
    if (length == 0) {
        return;
    }
    if (line[length - 1] == '\n') {
        text.append(line, length - 1);
        if (length < 2 || line[length - 2] != '\r') {
            text += '\r';
        }
        text += '\n';
    } else if (std::memchr(line, '\n', length) != nullptr) {
        text.append(line, length);
    } else {
        text.append(line, length);
        text += line[length - 1] == '\r' ? "\n" : "\r\n";
    }
}

bool BuildTextPart(OutgoingMessage& message, const char* text, size_t length) {
    std::free(message.textPart);
    message.textPart = nullptr;
    message.textLength = 0;
    message.textReady = 0;
    if (length == 0) {
        return true;
    }
    const bool encoded = NeedsQuotedPrintable(text, length);
    uint32_t partLength = 0;
    char* part = nullptr;
    try {
        const std::string headers =
            message.alternative ? AlternativeTextHeaders(encoded) : PlainTextHeaders(encoded);
        const std::string content = WireContent(text, length, encoded);
        part = ComposePart(headers, content.data(), content.size(), &partLength);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (part == nullptr) {
        return false;
    }
    message.textPart = part;
    message.textLength = partLength;
    message.textReady = 1;
    return true;
}

bool BuildHtmlPart(OutgoingMessage& message, const char* html) {
    std::free(message.htmlPart);
    message.htmlPart = nullptr;
    message.htmlLength = 0;
    message.htmlReady = 0;
    if (html == nullptr || html[0] == '\0') {
        try {
            FallBackToPlainTextPart(message, false);
            FallBackToPlainTextPart(message, true);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
    const size_t length = std::strlen(html);
    const bool encoded = NeedsQuotedPrintable(html, length);
    uint32_t partLength = 0;
    char* part = nullptr;
    try {
        const std::string content = WireContent(html, length, encoded);
        part = ComposePart(HtmlHeaders(encoded), content.data(), content.size(), &partLength);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (part == nullptr) {
        return false;
    }
    message.htmlPart = part;
    message.htmlLength = partLength;
    message.htmlReady = 1;
    return true;
}
