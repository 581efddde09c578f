// Collects an SMTP server reply from received bytes. A reply is complete at the LF of its final
// line (a line whose fourth character is not '-'), so a reply split over several reads or a
// multi-line reply counts once. Its code is the three digits that start that final line.
// The reader also hands over each line as it ends, for the extensions of an EHLO reply.
#pragma once

#include <cstddef>

constexpr size_t kSmtpReplyTextSize = 1024; // the text kept for the error box; longer is cut
constexpr size_t kSmtpReplyLineSize = 512;  // a line kept for its keywords; longer is cut

struct SmtpReplyReader {
    char text[kSmtpReplyTextSize]; // the reply as received, cut to 1023 bytes, terminated
    size_t textLength;
    char lineStart[4]; // the first four bytes of the line being read
    size_t lineLength;
    int complete;
    int code; // of a complete reply; 0 when its final line does not start with three digits

    // The line that has just ended, without its CR LF, cut to 511 bytes and terminated; valid
    // while lineEnded is set, until the next call of FeedSmtpReply.
    char line[kSmtpReplyLineSize];
    size_t lineKept;
    int lineEnded;
    int lineNumber; // of that line within the reply, from 0
};

// Forgets the previous reply.
void StartSmtpReply(SmtpReplyReader& reader);

// Takes bytes until the current line ends (lineEnded is then set, and complete too when it was
// the final line); returns how many it took. Bytes after the end of a complete reply are left
// for the next one (after StartSmtpReply); bytes after a line that is not the last are taken
// by the next call.
size_t FeedSmtpReply(SmtpReplyReader& reader, const char* data, size_t length);
