// Collects an SMTP server reply from received bytes. A reply is complete at the LF of its final
// line (a line whose fourth character is not '-'), so a reply split over several reads or a
// multi-line reply counts once. Its code is the three digits that start that final line.
#pragma once

#include <cstddef>

constexpr size_t kSmtpReplyTextSize = 1024; // the text kept for the error box; longer is cut

struct SmtpReplyReader {
    char text[kSmtpReplyTextSize]; // the reply as received, cut to 1023 bytes, terminated
    size_t textLength;
    char lineStart[4]; // the first four bytes of the line being read
    size_t lineLength;
    int complete;
    int code; // of a complete reply; 0 when its final line does not start with three digits
};

// Forgets the previous reply.
void StartSmtpReply(SmtpReplyReader& reader);

// Takes bytes until the current reply is complete; returns how many it took. Bytes after the
// end of a complete reply are left for the next one (after StartSmtpReply).
size_t FeedSmtpReply(SmtpReplyReader& reader, const char* data, size_t length);
