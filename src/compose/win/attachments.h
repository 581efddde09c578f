// The attachment table of the current message and the operations every attaching part of the
// program goes through.
#pragma once

#include <windows.h>

#include "compose/attachment_table.h"

// Process-wide; the sending and saving code reads it directly.
extern AttachmentTable attachmentTable;

// Attaches the file, its path lower-cased. 1 when added, or when the file is empty (then nothing
// is added); 0 when it cannot be read, is already attached, or all 64 slots are used. Callers
// that report the 0 show kAttachRefusedText with kAttachRefusedCaption.
int AddAttachment(const char* path);

// Removes the entry whose path equals `path` and closes the gap.
void RemoveAttachment(const char* path);

// The number of used attachment slots.
int AttachmentCount();

// Empties the attachment table and releases its icons.
void ClearAttachments();

// Attaches the files of a drop (folders and shortcuts are skipped, refusals are not reported)
// and finishes the drop.
void AttachDroppedFiles(HDROP drop);

constexpr const char* kAttachRefusedText =
    "Attachment Already Exists or Maximum Attachments Reached!";
constexpr const char* kAttachRefusedCaption = "File Attachment Error";
