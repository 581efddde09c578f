// The pieces of an outgoing MIME message that are built while it is sent: the header block, the
// sub-header block of each attachment part and the closing boundaries. The message is always
// multipart/mixed; a formatted body adds a multipart/alternative of text and HTML inside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

struct OutgoingMessage;
struct ProgramSettings;

constexpr const char* kMainBoundary = "kestr1_140899_BounDAry_9903";
constexpr const char* kAlternativeBoundary = "kestr1_140899_bOUNdaRY_9903_alt";

// The texts that follow the plain text and the HTML document. Kestro adds nothing to the
// user's mail, so both are empty.
constexpr const char* kPlainTrailerText = "";
constexpr const char* kHtmlTrailerText = "";

// Large enough for the longest header block: two names and addresses, 64 To and 64 Cc
// addresses, a 511-character date and a 1023-character subject.
constexpr size_t kHeaderBlockSize = 16384;
// Large enough for an attachment's sub-headers with a file name of 1023 characters, twice.
constexpr size_t kAttachmentHeaderSize = 2560;
constexpr size_t kDateTextSize = 512;

// The local time as "%a, %d %b %y %H:%M:%S %Z" (English names in the C locale, the time-zone
// name as the C library reports it).
void FormatMailDate(time_t when, char* out, size_t outSize);

// The top-level header block: Reply-To (only with a REPLYTO setting), From, To and Cc (each only
// with an address), Date, Subject, X-mailer, MIME-Version, Content-Type with the main boundary, the
// empty line that ends the headers and the preamble. Bcc addresses never appear. Returns the
// length; the text is always terminated and is cut rather than overrunning out.
size_t BuildHeaderBlock(const ProgramSettings& settings, const OutgoingMessage& message,
                        const char* dateText, char* out, size_t outSize);

// The file name of a path: what follows its last backslash (or slash).
const char* AttachmentFileName(const char* path);

// The content type of a file, decided by the first extension of the table found anywhere in
// the path (case-sensitive); "application/octet-stream" when none is.
const char* LookupContentType(const char* path);

// The sub-header block that opens an attachment part: boundary, Content-Type with the name,
// base64 encoding and the disposition with the file name, then the empty line. Returns the
// length; the text is always terminated and cut rather than overrunning out.
size_t BuildAttachmentHeader(const char* path, char* out, size_t outSize);

// The HTML trailer and the closing boundary of the multipart/alternative container.
size_t BuildAlternativeEnd(char* out, size_t outSize);

// The closing boundary of the message followed by the end-of-data mark "\r\n.\r\n".
size_t BuildEndOfData(char* out, size_t outSize);
