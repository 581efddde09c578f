#include "audio/win/acm_converter.h"

#include <cstdlib>
#include <cstring>

namespace {

// The longest wait for a conversion the codec reports as not yet done.
constexpr DWORD kConvertTimeoutMs = 10000;

bool IsEightBitPcm(const WAVEFORMATEX& format) {
    return format.wFormatTag == WAVE_FORMAT_PCM && format.wBitsPerSample == 8;
}

WAVEFORMATEX WidenedFormat(const WAVEFORMATEX& format) {
    WAVEFORMATEX wide = format;
    wide.wBitsPerSample = 16;
    wide.nBlockAlign = static_cast<WORD>(format.nBlockAlign * 2);
    wide.nAvgBytesPerSec = format.nAvgBytesPerSec * 2;
    wide.cbSize = 0;
    return wide;
}

// The source format as a full WAVEFORMATEX (a PCM block may hold only 16 bytes).
WAVEFORMATEX SourceFormatOf(const unsigned char* block, uint32_t size) {
    WAVEFORMATEX format = {};
    std::memcpy(&format, block, size < sizeof format ? size : sizeof format);
    if (format.wFormatTag == WAVE_FORMAT_PCM) {
        format.cbSize = 0;
    }
    return format;
}

MMRESULT OpenStream(HACMSTREAM* stream, HACMDRIVER driver, WAVEFORMATEX* source,
                    const unsigned char* destination, DWORD flags) {
    return acmStreamOpen(stream, driver, source,
                         reinterpret_cast<WAVEFORMATEX*>(const_cast<unsigned char*>(destination)),
                         nullptr, 0, 0, flags);
}

void CloseAcm(void* context) {
    auto& acm = *static_cast<AcmConverter*>(context);
    if (acm.stream != nullptr) {
        if (acm.prepared) {
            acm.header.cbSrcLength = static_cast<DWORD>(acm.header.dwSrcUser);
            acm.header.cbDstLength = static_cast<DWORD>(acm.header.dwDstUser);
            acmStreamUnprepareHeader(acm.stream, &acm.header, 0);
        }
        acmStreamClose(acm.stream, 0);
    }
    if (acm.driver != nullptr) {
        acmDriverClose(acm.driver, 0);
    }
    std::free(acm.wide);
    acm.stream = nullptr;
    acm.driver = nullptr;
    acm.prepared = 0;
    acm.widened = 0;
    acm.wide = nullptr;
}

int OpenAcm(void* context, const unsigned char* sourceFormat, uint32_t sourceFormatSize,
            const unsigned char* destinationFormat, uint32_t, uint32_t readSize,
            uint32_t* destinationBufferSize) {
    auto& acm = *static_cast<AcmConverter*>(context);
    if (acmDriverOpen(&acm.driver, acm.driverId, 0) != MMSYSERR_NOERROR) {
        acm.driver = nullptr;
        return 0;
    }
    WAVEFORMATEX source = SourceFormatOf(sourceFormat, sourceFormatSize);
    if (OpenStream(&acm.stream, acm.driver, &source, destinationFormat, acm.openFlags) !=
        MMSYSERR_NOERROR) {
        acm.stream = nullptr;
        if (!IsEightBitPcm(source)) {
            return 0;
        }
        WAVEFORMATEX wide = WidenedFormat(source);
        if (OpenStream(&acm.stream, acm.driver, &wide, destinationFormat, acm.openFlags) !=
            MMSYSERR_NOERROR) {
            acm.stream = nullptr;
            return 0;
        }
        acm.widened = 1;
    }
    const DWORD offered = acm.widened ? readSize * 2 : readSize;
    DWORD size = 0;
    if (acmStreamSize(acm.stream, offered, &size, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR ||
        size == 0) {
        return 0;
    }
    *destinationBufferSize = size;
    return 1;
}

int PrepareAcm(void* context, unsigned char* source, uint32_t sourceSize,
               unsigned char* destination, uint32_t destinationSize) {
    auto& acm = *static_cast<AcmConverter*>(context);
    acm.plain = source;
    DWORD offered = sourceSize;
    unsigned char* given = source;
    if (acm.widened) {
        offered = sourceSize * 2;
        acm.wide = static_cast<unsigned char*>(std::calloc(offered, 1));
        if (acm.wide == nullptr) {
            return 0;
        }
        given = acm.wide;
    }
    acm.header = ACMSTREAMHEADER{};
    acm.header.cbStruct = sizeof acm.header;
    acm.header.pbSrc = given;
    acm.header.cbSrcLength = offered;
    acm.header.dwSrcUser = offered;
    acm.header.pbDst = destination;
    acm.header.cbDstLength = destinationSize;
    acm.header.dwDstUser = destinationSize;
    if (acmStreamPrepareHeader(acm.stream, &acm.header, 0) != MMSYSERR_NOERROR) {
        return 0;
    }
    acm.prepared = 1;
    return 1;
}

// 8-bit samples are unsigned around 128; 16-bit ones signed.
void Widen(AcmConverter& acm, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const int16_t sample = static_cast<int16_t>((acm.plain[i] - 128) * 256);
        acm.wide[2 * i] = static_cast<unsigned char>(sample & 0xFF);
        acm.wide[2 * i + 1] = static_cast<unsigned char>((sample >> 8) & 0xFF);
    }
}

int ConvertAcm(void* context, ConvertStep& step) {
    auto& acm = *static_cast<AcmConverter*>(context);
    if (!acm.prepared) {
        return 0;
    }
    if (acm.widened) {
        Widen(acm, step.sourceLength);
        acm.header.cbSrcLength = step.sourceLength * 2;
    } else {
        acm.header.cbSrcLength = step.sourceLength;
    }
    acm.header.cbSrcLengthUsed = 0;
    acm.header.cbDstLengthUsed = 0;
    const DWORD flags = step.flags & (ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_END);
    if (acmStreamConvert(acm.stream, &acm.header, flags) != MMSYSERR_NOERROR) {
        return 0;
    }
    // Without a callback the conversion is complete on return; the done flag is checked anyway.
    const DWORD start = GetTickCount();
    while (!(acm.header.fdwStatus & ACMSTREAMHEADER_STATUSF_DONE)) {
        if (GetTickCount() - start > kConvertTimeoutMs) {
            return 0;
        }
        Sleep(1);
    }
    step.sourceUsed = acm.widened ? acm.header.cbSrcLengthUsed / 2 : acm.header.cbSrcLengthUsed;
    step.destinationUsed = acm.header.cbDstLengthUsed;
    return 1;
}

} // namespace

StreamConverter AcmStreamConverter(AcmConverter& acm, HACMDRIVERID driverId) {
    acm = AcmConverter{};
    acm.driverId = driverId;
    acm.openFlags = ACM_STREAMOPENF_NONREALTIME;
    return {&acm, OpenAcm, PrepareAcm, ConvertAcm, CloseAcm};
}

bool AcmCanConvert(HACMDRIVERID driverId, const unsigned char* sourceFormat,
                   uint32_t sourceFormatSize, const unsigned char* destinationFormat) {
    HACMDRIVER driver = nullptr;
    if (driverId == nullptr || acmDriverOpen(&driver, driverId, 0) != MMSYSERR_NOERROR) {
        return false;
    }
    WAVEFORMATEX source = SourceFormatOf(sourceFormat, sourceFormatSize);
    const DWORD query = ACM_STREAMOPENF_QUERY | ACM_STREAMOPENF_NONREALTIME;
    bool possible =
        OpenStream(nullptr, driver, &source, destinationFormat, query) == MMSYSERR_NOERROR;
    if (!possible && IsEightBitPcm(source)) {
        WAVEFORMATEX wide = WidenedFormat(source);
        possible = OpenStream(nullptr, driver, &wide, destinationFormat, query) == MMSYSERR_NOERROR;
    }
    acmDriverClose(driver, 0);
    return possible;
}
