// Reading other programs' settings from the registry. Kestro only reads it: nothing here
// creates, changes or deletes a key or a value.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Reads a text value (REG_SZ, or REG_EXPAND_SZ with its variables expanded) of root\subkey;
// valueName nullptr reads the key's default value. On success copies it as text into out, cut
// to outSize - 1 characters; false when the key or the value is missing or not text.
bool ReadRegistryString(HKEY root, const char* subkey, const char* valueName, char* out,
                        size_t outSize);
template <size_t N>
bool ReadRegistryString(HKEY root, const char* subkey, const char* valueName, char (&out)[N]) {
    return ReadRegistryString(root, subkey, valueName, out, N);
}

// Reads a value's data as the wide-character registry functions give it: binary data and
// numbers as stored, text as UTF-16. False when the key or the value is missing.
bool ReadRegistryData(HKEY root, const char* subkey, const char* valueName, std::string& bytes);

// The names of root\subkey's subkeys; empty when the key is missing.
std::vector<std::string> RegistrySubkeys(HKEY root, const char* subkey);
