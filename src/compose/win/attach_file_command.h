// The Attach File command (Attach button, File > Attach File) and the strip's "Add": the user
// picks a file in the standard open-file dialog and it is attached.
#pragma once

#include <windows.h>

// The filter lists of the open-file dialogs, pairs of description and pattern.
extern const char kAttachFileFilters[];     // the Attach File command's, with RealVideo files
extern const char kAttachmentFileFilters[]; // the strip's "Save Copy" and "Add"

// Shows "Attach File" owned by `owner`; on OK records the chosen folder in ATTACHDIR and attaches
// the file, reporting a refusal. False when the user cancelled.
bool AttachFromOpenDialog(HWND owner, const char* filters);

// Command 1001.
void AttachFileCommand(HWND mainWindow);
