// Turns the body editor's RTF stream-out into the HTML version of a formatted message body.
// Not a general RTF reader: it knows the font table, the colour table and a body written as a
// flat sequence of segments, each a run of control words followed by plain text. A run ends at
// the blank after a word or where the text starts; the formats it names (font, size, colour,
// bold, italic, underline) hold until a later run changes them. The body ends at the
// document's closing brace.
#pragma once

#include <cstddef>

constexpr int kRtfFontCount = 256;    // fonts \f0 to \f255; other numbers have no face name
constexpr int kRtfFaceNameSize = 64;  // a face name keeps at most 63 characters
constexpr int kRtfColourCount = 1024; // colours past the first 1024 are ignored

// Converts the NUL-terminated rtf into an HTML document. output is a block to reuse (nullptr
// for none) of *capacity bytes; the result is a NUL-terminated malloc block, to be freed with
// free(), and *capacity is set to its size. Returns nullptr when the text is not in the
// expected form or memory runs out; then output is freed and *capacity is 0.
char* ConvertRtfToHtml(const char* rtf, char* output, size_t* capacity);
