// Where a saved message goes: the save folder under the program directory, one folder per save
// named after the local time, the ".kto" file named after the first To address and the subject,
// and the copies of the attachments beside it. Paths use backslashes.
#pragma once

#include <string>
#include <vector>

struct OutgoingMessage;

// The local time of a save, as the clock gives it.
struct SaveTime {
    int year;   // 1 to 9999
    int month;  // 1 to 12
    int day;    // 1 to 31
    int hour;   // 0 to 23
    int minute; // 0 to 59
    int second; // 0 to 59
};

bool IsValidSaveTime(const SaveTime& time);

// "%ssave": the program directory (with its trailing backslash) and "save".
std::string SaveFolderPath(const char* programDirectory);

// The folder name of a save, such as "Dec062026-1217AM-56"; empty for a time out of range.
std::string MessageFolderName(const SaveTime& time);

// The save folder, a backslash and the folder name; empty for a time out of range.
std::string MessageFolderPath(const char* programDirectory, const SaveTime& time);

// The DATE text of a save, such as "Dec 06 2026  12:17 AM"; empty for a time out of range.
std::string SaveDateText(const SaveTime& time);

// True for the names the system keeps for devices (CON, PRN, AUX, NUL, COM1-9, LPT1-9, in any
// case, also with an extension or blanks before it): a file of that name cannot be made.
bool IsReservedDeviceName(const char* name);

// The ".kto" file name: up to 50 bytes of the first To address, a hyphen and up to 50 bytes of
// the subject, each without \ / : * ? " < > | and control characters; without a To address just
// the subject. A name that would be empty becomes "No Subject.kto", and one that names a device
// gets a leading underscore, so that every save can be found and loaded again.
std::string MessageFileName(const char* firstTo, const char* subject);

// The name part of a path: everything after its last backslash (or slash).
std::string AttachmentCopyName(const char* path);

// The full paths of the attachment copies in the message folder, one per attachment of the
// message, in order. Each copy keeps its file's name; a name already taken by an earlier
// attachment of the same message (in any case) gets "(2)", "(3)" ... before its extension, so
// that no copy overwrites another.
std::vector<std::string> AttachmentCopyPaths(const char* messageFolder,
                                             const OutgoingMessage& message);
