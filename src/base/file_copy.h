// Copying a file as it is, in blocks of 1024 bytes.
#pragma once

// Copies `source` to `target` (created or truncated). False when either cannot be opened or a
// block cannot be read or written; nothing is created when the source cannot be opened.
bool CopyFileInBlocks(const char* source, const char* target);
