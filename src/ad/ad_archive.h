// Unpacking the downloaded banner archive, ad.zip, into the frame files of the program folder.
#pragma once

#include <cstddef>

// Writes the ZIP bytes of the archive reply to `path` (created or truncated). False unless every
// byte was written.
bool SaveAdArchive(const char* path, const char* bytes, size_t size);

// Walks the archive's entries in order. An entry whose stored name is exactly a frame name
// "1.bmp" .. "<frameCount>.bmp" (in any case) is written to folder + that frame name, through a
// temporary file that replaces the frame only once the entry has been read whole and its
// checksum matched; every other entry is skipped. A frame entry larger than kMaxFrameFileBytes
// or not beginning like a bitmap fails. Stops at the first entry that fails; entry errors are
// written to the standard output. True when every entry was read.
// `folder` ends with a path separator.
bool UnpackAdArchive(const char* zipPath, const char* folder, int frameCount);
