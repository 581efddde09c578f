#include "mail/body_parts.h"

#include "mail/mime_builder.h"
#include "mail/outgoing_message.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

std::string PlainTextHeaders() {
    return std::string("\r\n--") + kMainBoundary +
           "\r\n"
           "Content-Type: text/plain\r\n"
           "Content-Transfer-Encoding: 7bit\r\n\r\n";
}

std::string AlternativeTextHeaders() {
    return std::string("\r\n--") + kMainBoundary +
           "\r\n"
           "Content-Type: multipart/alternative;\r\n"
           "\tboundary=\"" +
           kAlternativeBoundary +
           "\"\r\n\r\n"
           "\r\n--" +
           kAlternativeBoundary +
           "\r\n"
           "Content-Type: text/plain\r\n"
           "Content-Transfer-Encoding: 7bit\r\n\r\n";
}

std::string HtmlHeaders() {
    return std::string("\r\n\r\n--") + kAlternativeBoundary +
           "\r\n"
           "Content-Type: text/html\r\n"
           "Content-Transfer-Encoding: 7bit\r\n\r\n";
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
void FallBackToPlainTextPart(OutgoingMessage& message) {
    const std::string alternative = AlternativeTextHeaders();
    if (!message.textReady || message.textLength < alternative.size() ||
        std::memcmp(message.textPart, alternative.data(), alternative.size()) != 0) {
        return;
    }
    const std::string plain = PlainTextHeaders();
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
    text.append(line, length);
    if (std::memchr(line, '\n', length) == nullptr) {
        text += '\n';
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
    const std::string headers = message.alternative ? AlternativeTextHeaders() : PlainTextHeaders();
    uint32_t partLength = 0;
    char* part = ComposePart(headers, text, length, &partLength);
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
        FallBackToPlainTextPart(message);
        return true;
    }
    uint32_t partLength = 0;
    char* part = ComposePart(HtmlHeaders(), html, std::strlen(html), &partLength);
    if (part == nullptr) {
        return false;
    }
    message.htmlPart = part;
    message.htmlLength = partLength;
    message.htmlReady = 1;
    return true;
}
