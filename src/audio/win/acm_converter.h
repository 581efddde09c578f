// A StreamConverter over a stream of the Audio Compression Manager, opened on one driver.
//
// A codec that cannot read 8-bit PCM (some GSM 6.10 codecs take 16-bit samples only) is given
// the same sound widened to 16 bits: the converter turns each 8-bit sample into a 16-bit one
// before the codec sees it, and counts the source bytes the codec used back in 8-bit samples.
#pragma once

#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <cstdint>

#include "audio/wave_conversion.h"

struct AcmConverter {
    HACMDRIVERID driverId;
    DWORD openFlags; // ACM_STREAMOPENF_NONREALTIME
    HACMDRIVER driver;
    HACMSTREAM stream;
    ACMSTREAMHEADER header;
    int prepared;
    int widened;          // the codec reads the 16-bit copy of 8-bit samples
    unsigned char* wide;  // that copy
    unsigned char* plain; // the job's source buffer
};

// A converter over the record, which must outlive the conversion.
StreamConverter AcmStreamConverter(AcmConverter& acm, HACMDRIVERID driverId);

// Whether the driver can convert the source format to the destination format (also by way of
// the widened source).
bool AcmCanConvert(HACMDRIVERID driverId, const unsigned char* sourceFormat,
                   uint32_t sourceFormatSize, const unsigned char* destinationFormat);
