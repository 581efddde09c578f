// The encodings that carry text with bytes of 0x80 and above (windows-1252) in a 7-bit mail:
// quoted-printable for the body parts and encoded words for the header fields.
#pragma once

#include <cstddef>
#include <string>

constexpr const char* kMailCharset = "windows-1252";
// No encoded word is longer than this, so a header line with one word stays under 76 columns.
constexpr size_t kEncodedWordLength = 60;
// The longest line SMTP carries, without its CR LF.
constexpr size_t kSmtpLineLimit = 998;

// True when the text holds a byte of 0x80 or above.
bool HasEightBitBytes(const char* text, size_t length);

// True when a line of the text would go out longer than limit octets: every line end (CR LF,
// a bare CR or a bare LF) ends a line, and a line that starts with a dot counts one more, for
// the dot the sender doubles.
bool HasLineLongerThan(const char* text, size_t length, size_t limit);

// Every line end becomes CR LF: a bare LF and a bare CR each turn into CR LF.
std::string WithCrLfLineEnds(const char* text, size_t length);

// Quoted-printable text of a text whose lines end in CR LF: bytes of 0x80 and above, '=',
// control characters and the blanks that end a line as =XX, and a soft line break ("=" CR LF)
// wherever a line would be longer than 76 characters.
std::string EncodeQuotedPrintable(const char* text, size_t length);

// The text as encoded words "=?windows-1252?Q?...?=", each at most kEncodedWordLength
// characters, separated by a folding CR LF and a blank. Returns the length; the text is always
// terminated and is cut at a word rather than overrunning out.
size_t EncodeHeaderWords(const char* text, char* out, size_t outSize);
