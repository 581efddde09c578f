// The pieces of an outgoing MIME message that are built while it is sent: the header block, the
// sub-header block of each attachment part and the closing boundaries. The message is always
// multipart/mixed; a formatted body adds a multipart/alternative of text and HTML inside it.
#pragma once

#include <cstddef>
#include <cstdint>

struct OutgoingMessage;
struct ProgramSettings;

constexpr const char* kMainBoundary = "kestr1_140899_BounDAry_9903";
constexpr const char* kAlternativeBoundary = "kestr1_140899_bOUNdaRY_9903_alt";

// The texts that follow the plain text and the HTML document. Kestro adds nothing to the
// user's mail, so both are empty.
constexpr const char* kPlainTrailerText = "";
constexpr const char* kHtmlTrailerText = "";

// Large enough for the longest header block: two names and addresses (the names as encoded
// words), 64 To and 64 Cc addresses, a 511-character date, the Message-ID and a 1023-character
// subject as encoded words.
constexpr size_t kHeaderBlockSize = 24576;
// Large enough for an attachment's sub-headers with a file name of 1023 characters as encoded
// words, twice.
constexpr size_t kAttachmentHeaderSize = 12288;
constexpr size_t kDateTextSize = 512;
constexpr size_t kMessageIdSize = 320;

// A local time as the clock shows it.
struct MailLocalTime {
    int year;
    int month;   // 1 to 12
    int day;     // 1 to 31
    int weekday; // 0 (Sunday) to 6
    int hour;
    int minute;
    int second;
};

// "Sun, 06 Dec 2026 12:17:56 +0100": English names whatever the locale, the local time's
// offset from UTC in minutes as +hhmm or -hhmm. An out-of-range weekday or month gives "".
void FormatMailDate(const MailLocalTime& local, int utcOffsetMinutes, char* out, size_t outSize);

// "<seconds.process.counter@domain>": the domain is what follows the last "@" of the sender
// ("localhost" without one). The three numbers keep every message of a machine distinct.
void FormatMessageId(uint64_t seconds, uint32_t processId, uint32_t counter, const char* sender,
                     char* out, size_t outSize);

// The top-level header block: Reply-To (only with a REPLYTO setting), From, To and Cc (each only
// with an address), Date, Message-ID, Subject, X-mailer, MIME-Version, Content-Type with the main
// boundary, the empty line that ends the headers and the preamble. Bcc addresses never appear.
// Returns the length; the text is always terminated and is cut rather than overrunning out. A
// subject or user name with bytes of 0x80 and above or control characters goes out as encoded
// words, as does a subject too long for one line; any other user name is a quoted string, its
// quotes and backslashes escaped. To and Cc lines fold between addresses before column 78, and
// CR or LF inside an address, the date or the Message-ID turns into a blank: no line ends early
// or passes 998 octets.
size_t BuildHeaderBlock(const ProgramSettings& settings, const OutgoingMessage& message,
                        const char* dateText, const char* messageId, char* out, size_t outSize);

// The file name of a path: what follows its last backslash (or slash).
const char* AttachmentFileName(const char* path);

// The content type of a file, decided by the first extension of the table found anywhere in
// the path (case-sensitive); "application/octet-stream" when none is.
const char* LookupContentType(const char* path);

// The sub-header block that opens an attachment part: boundary, Content-Type with the name,
// base64 encoding and the disposition with the file name (as encoded words, each on a line of
// its own, when it holds bytes of 0x80 and above or control characters; in numbered pieces
// name*0, name*1, ... when it is too long for one line), then the empty line. Returns the
// length; the text is always terminated and cut rather than overrunning out.
size_t BuildAttachmentHeader(const char* path, char* out, size_t outSize);

// The HTML trailer and the closing boundary of the multipart/alternative container.
size_t BuildAlternativeEnd(char* out, size_t outSize);

// The closing boundary of the message followed by the end-of-data mark "\r\n.\r\n".
size_t BuildEndOfData(char* out, size_t outSize);

// The bytes the message sends after its header block, up to and including the CR LF before
// the end-of-data mark: the text part, the HTML alternative when it is sent, every attachment
// part (sub-headers and base64) and the closing boundary. The attachment sub-headers are built
// in scratch, which must hold kAttachmentHeaderSize bytes.
uint64_t MessageSizeAfterHeaders(const OutgoingMessage& message, char* scratch, size_t scratchSize);
