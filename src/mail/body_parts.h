// The body parts of an outgoing message, prepared before the connection is opened: the text
// part (which opens the multipart/alternative container when the body was formatted) and the
// HTML part. Each is its MIME sub-headers followed by the content, in a block of the snapshot.
#pragma once

#include <cstddef>
#include <string>

struct OutgoingMessage;

// Adds one line fetched from the body editor to the plain text, ending in CR LF: a line that
// holds no LF gets one (a wrapped line gets CR LF, a line ending in CR its LF), a bare LF at
// the end gets its CR, an empty fetch adds nothing.
void AppendEditorLine(std::string& text, const char* line, size_t length);

// Builds the text part from the plain text. Every line end goes out as CR LF; a text with bytes
// of 0x80 and above, or with a line longer than SMTP carries (998 octets), is declared
// windows-1252 and sent quoted-printable, a plain ASCII one in short lines as 7bit. An empty
// text leaves the part not ready. Every line that starts with a dot gets a second dot, which
// the receiving server removes again, so no line of the body can end the mail data or lose its
// dot. False when memory runs out.
bool BuildTextPart(OutgoingMessage& message, const char* text, size_t length);

// Builds the HTML part from the converted document (line ends, encoding and dot lines treated
// as in the text part).
// A missing or empty document leaves the part not ready and, since no HTML follows, turns a
// text part that opened the multipart/alternative container into a plain text part. False
// when memory runs out.
bool BuildHtmlPart(OutgoingMessage& message, const char* html);
