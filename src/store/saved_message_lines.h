// Reading a saved message file line by line, as a text-mode reader sees it, and the character
// classes both readers keep. Besides the printable ASCII characters the classes hold every byte
// of 0x80 and above, so that an accented letter of the Western code page (such as 0xE9) survives
// a save and a load.
#pragma once

#include <cstddef>

// True for letters, digits and ASCII punctuation (0x21 to 0x7E) and for bytes 0x80 to 0xFF.
bool IsAddressCharacter(unsigned char c);

// True for letters, digits, punctuation and the blank (0x20 to 0x7E) and for bytes 0x80 to
// 0xFF.
bool IsTextCharacter(unsigned char c);

// A read position in the bytes of a file.
struct LineCursor {
    const char* data;
    size_t size;
    size_t position;
};

LineCursor StartLines(const char* data, size_t size);

// Reads the next line into line (terminated): the bytes up to the next LF, without the LF and
// without a CR right before it (text mode reads CR LF as LF). A line longer than lineSize - 1
// bytes is cut there and the rest of it is passed over, so it can never pose as a line of its
// own. False at the end of the data.
bool ReadNextLine(LineCursor& cursor, char* line, size_t lineSize);

// The rest of the data, not yet read as lines.
const char* RemainingData(const LineCursor& cursor, size_t* length);

// Reads a number as "%d" does after a key: leading white space, an optional sign, then digits.
// No digits give 0; values beyond the int range stop at its limits.
int ReadCount(const char* text);

// Appends to field (of fieldSize bytes, always terminated) the characters of text that pass
// keep. A blank goes first when the field already holds text and anything is kept. With
// wholeOrNothing, kept characters that do not all fit leave the field unchanged; otherwise they
// are cut at the field's end. Returns the number of characters appended.
size_t AppendKeptCharacters(char* field, size_t fieldSize, const char* text,
                            bool (*keep)(unsigned char), bool wholeOrNothing);

// Copies the characters of text that pass keep into field, cut at the field's end.
void CopyKeptCharacters(char* field, size_t fieldSize, const char* text,
                        bool (*keep)(unsigned char));
