// Finding a codec of the Audio Compression Manager by the wave format tag it lists, and the
// first format of that tag a codec lists. Format tags: 49 GSM 6.10, 85 MPEG Layer-3.
#pragma once

#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <cstdint>

constexpr DWORD kGsm610FormatTag = 49;
constexpr DWORD kMpegLayer3FormatTag = 85;

// The first enabled driver, in the manager's order, that lists a format of this tag; nullptr
// when none does. A driver that cannot be opened or listed is passed over.
HACMDRIVERID FindDriverForTag(DWORD tag);

// A new zero-filled block of the driver's largest format size (at least 18 bytes, cbSize preset
// to that size minus 18) holding the first format of this tag the driver lists, and its size.
// nullptr when the driver lists none. Free the block with std::free.
unsigned char* FirstFormatOfTag(HACMDRIVERID driverId, DWORD tag, uint32_t* size);
