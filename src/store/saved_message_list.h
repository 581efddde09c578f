// The Load Message list: which entries of the save folder and of a message folder are looked
// at, the record of one listed message read from its ".kto" file, the four column texts and
// the order of a sort by column.
#pragma once

#include <cstddef>

constexpr int kListLineLength = 1024; // the list reads lines with this buffer: 1023 characters
constexpr int kListColumnCount = 4;   // To, Subject, Date, Attachment

struct SavedMessageEntry {
    char toText[256]; // To addresses separated by one blank, at most 255 characters
    char subject[1024];
    char date[256];
    char attachmentMark[2]; // "Y" or "N"
    char path[1024];        // full path of the ".kto" file
};

// True for an entry of the save folder that is scanned as a message folder: any directory
// but "." and "..". Plain files lying in the save folder are passed over, and the scan goes on.
bool IsMessageFolderEntry(const char* name, bool isDirectory);

// True for an entry of a message folder that is read as a saved message: a file (not a
// directory) whose name ends with ".kto", in that case.
bool IsSavedMessageFileEntry(const char* name, bool isDirectory);

// Fills the record from the bytes of a ".kto" file: the To addresses (letters, digits and
// punctuation, joined by one blank, cut at 255 characters), the SUBJECT and DATE= texts
// (letters, digits, punctuation and blanks), the mark "Y" when ATTACHMENTS gives a count above
// 0, else "N", and the path. The lines counted by CC, BCC and ATTACHMENTS are passed over, as
// the full loader reads them, so that an address such as "BODY@ex.com" is not a key. Reading
// ends at the BODY line: a body line such as "TO 3 friends" is text, not a header. Lines longer
// than 1023 characters are cut and their rest passed over. False, with an empty record, when
// the path does not fit 1023 characters.
bool ReadSavedMessageEntry(const char* path, const char* data, size_t size,
                           SavedMessageEntry& entry);

// The text of column 0 to 3 (To, Subject, Date, Attachment); "" for any other column.
const char* SavedMessageColumnText(const SavedMessageEntry& entry, int column);

// Compares bytes with the letters A-Z and a-z taken as equal: <0, 0 or >0.
int CompareBytesNoCase(const char* a, const char* b);

// The platform's case-insensitive string comparison (the one the window's sort uses).
using TextCompare = int (*)(const char* a, const char* b);

// The order of a sort by column, always ascending: the To texts by CompareBytesNoCase, the
// other columns by platformCompare (CompareBytesNoCase when none is given). The Date column
// thus sorts by the date text, month name first, not by time.
int CompareSavedMessageEntries(const SavedMessageEntry& a, const SavedMessageEntry& b, int column,
                               TextCompare platformCompare);
