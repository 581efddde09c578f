// A growing, zero-filled text block and a substring index, shared by the mail code.
#pragma once

#include <cstddef>

// Every growth of a text block adds at least this many bytes.
constexpr size_t kBufferGrowthStep = 8192;

// Appends length bytes of data at *used in the block *buffer of *capacity bytes (nullptr and 0
// for no block yet) and advances *used. When the block has no room for the data and a
// terminating NUL, it grows by max(length + 1, 8192) bytes and the new space is zero-filled;
// the text is always left NUL-terminated. The block comes from malloc/realloc: free it with
// free(). Returns 1. On allocation failure (or arguments that do not describe a block) the block
// is freed, *buffer becomes nullptr, *used and *capacity 0, and 0 is returned.
int AppendToBuffer(char** buffer, size_t* used, size_t* capacity, const char* data, size_t length);

// The index of the first occurrence of pattern in text; -1 when either is empty or missing, the
// text is shorter than the pattern, or the pattern does not occur.
int FindIndex(const char* text, const char* pattern);
