// Bytes as text of hexadecimal digits, two a byte: how Kestro.ini keeps the protected password.
#pragma once

#include <cstddef>

// The value of one hexadecimal digit in either case, or -1 for any other character.
int HexDigitValue(char c);

// Writes two capital digits a byte and a terminator. False, writing "" when there is room for
// it, when out cannot hold them all.
bool EncodeHexText(const unsigned char* bytes, size_t length, char* out, size_t outSize);

// Reads text (digits in either case, nothing else) into bytes and sets *length. False for an
// odd number of digits, any other character, or more bytes than size.
bool DecodeHexText(const char* text, unsigned char* bytes, size_t size, size_t* length);
