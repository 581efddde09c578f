// The file names of the video window: the names it proposes for a clip and a snapshot, and the
// checks that complete the name the user typed with the right extension.
#pragma once

#include <cstddef>

#include "compose/attachment_table.h"

constexpr int kVideoNameBufferSize = 256; // the name read from the window's edit
constexpr int kVideoNameEditLimit = 220;  // characters the edit accepts from the keyboard
constexpr int kVideoNameMaxLength = 224;  // longer names are refused

inline constexpr char kVideoNameForbiddenCharacters[] = "\\/:*?\"<>|";
inline constexpr char kInvalidVideoNameText[] =
    "A filename cannot contain any of the following characters:\n"
    "                      \\ / : * ? \" < > | ";
inline constexpr char kRenameVideoCaption[] = "Rename Video File";
inline constexpr char kRenameSnapshotCaption[] = "Rename Snapshot File";

// Attachments up to the first free slot whose path ends in a 12- or 11-character name beginning
// with "videom" (videomsg.avi, videom03.avi, videomsg.rm, videom03.rm).
int CountVideoAttachments(const AttachmentTable& table);

// Attachments up to the first free slot whose path ends in a 12-character name beginning with
// "snapsh".
int CountSnapshotAttachments(const AttachmentTable& table);

// The proposal for the next clip: "videomsg.avi", "videom01.avi" .. "videom09.avi",
// "videom10.avi", ...; ".rm" instead for RealVideo (selection 1). Any other selection gives an
// empty name and false.
bool DefaultVideoName(const AttachmentTable& table, int videoSelection, char* out, size_t size);

// The proposal for the next snapshot: "snapshot.jpg", "snapsh01.jpg", ... "snapsh10.jpg", ...
void DefaultSnapshotName(const AttachmentTable& table, char* out, size_t size);

// Checks the typed clip name and completes its extension in place. Empty: invalid, nothing else
// happens. Otherwise the extension is completed (".avi" for selection 0; for any other selection
// the selection becomes 1 and ".avi" turns into ".rm", or ".rm" is appended), and the name is
// valid unless it is longer than 224 characters or holds one of \ / : * ? " < > |. An extension
// that does not fit in the buffer is not appended. Returns 1 for valid, 0 for invalid.
int ValidateVideoName(char (&name)[kVideoNameBufferSize], int& videoSelection);

// The same checks for a snapshot name, then ".jpg" unless it ends in ".jpg".
int ValidateSnapshotName(char (&name)[kVideoNameBufferSize]);

// The name a snapshot is saved under when the edit holds `name`: a clip name proposed by the
// window (beginning with "videom") becomes DefaultSnapshotName; another name ending in ".avi"
// gets ".jpg" instead. Validation follows separately.
void SnapshotNameFromEdit(char (&name)[kVideoNameBufferSize], const AttachmentTable& table);
