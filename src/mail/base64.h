// Base64 of attachment blocks, with a CR LF after every 72 characters of output, and of the
// short texts of a login, on one line.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kBase64LineLength = 72;
// Attachments are encoded this many bytes at a time; a multiple of 3, so only the last block of
// a file is padded, and a full block encodes to exactly 19 lines.
constexpr uint32_t kBase64BlockSize = 1026;
// Holds the encoding of a full block (1368 characters and 19 CR LF) and a terminator.
constexpr uint32_t kBase64BufferSize = 1411;

// The number of characters EncodeBase64Block writes for length bytes, line breaks included.
uint32_t Base64EncodedLength(uint32_t length);

// Encodes length bytes of data into output: groups of 6 bits, most significant first, padded
// with '=' to a multiple of 4 characters, and a CR LF after every full 72 characters (so an
// output of exactly 72 * k characters ends in CR LF and a shorter last line has none). Writes
// the text and a terminator and sets *outputLength to the characters written. Returns false,
// writing nothing, when outputSize cannot hold the text and the terminator.
bool EncodeBase64Block(const unsigned char* data, uint32_t length, char* output, size_t outputSize,
                       uint32_t* outputLength);

// Encodes length bytes as one line of base64 (no line breaks) followed by a terminator.
// Returns the characters written, or 0, writing "" when there is room for it, when outputSize
// cannot hold them and the terminator.
size_t EncodeBase64Line(const unsigned char* data, size_t length, char* output, size_t outputSize);
