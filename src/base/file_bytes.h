// Whole-file reads and writes in binary mode, so that the bytes on disk are exactly those given.
#pragma once

#include <string>

// Reads the whole file; false when it cannot be opened or read.
bool ReadFileBytes(const char* path, std::string& bytes);

// Creates or truncates the file and writes the bytes; false when that fails.
bool WriteFileBytes(const char* path, const std::string& bytes);
