// Registry key names of the mail programs' accounts, and the values some of them store as
// binary data.
#pragma once

#include <cstddef>
#include <string>

// base ends in "00000000"; its last two characters are replaced by index as two lower-case
// hexadecimal digits (00 to 1f).
std::string AccountKeyName(const char* base, int index);

// Software\Microsoft\Internet Account Manager\Accounts\000000xx
std::string InternetAccountKey(int index);

// The Office versions whose Outlook kept accounts in its OMI Account Manager: 8.0 to 11.1,
// version number v = 0 .. 31 standing for (8 + v / 10).(v mod 10).
std::string OmiAccountKey(int version, int index);

// The mail profiles of Outlook of Office 12.0 to 16.0:
// Software\Microsoft\Office\<major>.0\Outlook\Profiles
std::string OutlookProfilesKey(int major);
// The folder of a profile's mail accounts, below OutlookProfilesKey(major).
std::string OutlookAccountsKey(int major, const std::string& profile);

// Text stored as UTF-16 (little-endian, usually ended by a zero) in binary data, as UTF-8.
// It ends at the first zero; an odd last byte and broken surrogates are dropped.
std::string Utf16BinaryToUtf8(const unsigned char* bytes, size_t size);

// A port stored either as a 32-bit little-endian number (4 bytes) or as UTF-16 digits; 0 when
// it is neither or out of range.
int PortFromBinary(const unsigned char* bytes, size_t size);
