#include "audio/win/acm_formats.h"

#include <cstdlib>
#include <cstring>

namespace {

struct FormatSearch {
    DWORD tag;
    unsigned char* block; // receives the format found
    DWORD blockSize;
    bool found;
};

BOOL CALLBACK FormatListed(HACMDRIVERID, LPACMFORMATDETAILSA details, DWORD_PTR instance, DWORD) {
    auto& search = *reinterpret_cast<FormatSearch*>(instance);
    if (details->pwfx == nullptr || details->pwfx->wFormatTag != search.tag) {
        return TRUE;
    }
    const DWORD size = details->cbwfx < search.blockSize ? details->cbwfx : search.blockSize;
    std::memcpy(search.block, details->pwfx, size);
    search.found = true;
    return FALSE;
}

DWORD LargestFormatSize(HACMDRIVER driver) {
    DWORD size = 0;
    if (acmMetrics(reinterpret_cast<HACMOBJ>(driver), ACM_METRIC_MAX_SIZE_FORMAT, &size) !=
            MMSYSERR_NOERROR ||
        size < sizeof(WAVEFORMATEX)) {
        size = sizeof(WAVEFORMATEX);
    }
    return size;
}

// Lists the driver's formats until one of the tag is found. False when the driver cannot be
// opened or listed.
bool SearchDriver(HACMDRIVERID driverId, FormatSearch& search) {
    HACMDRIVER driver = nullptr;
    if (acmDriverOpen(&driver, driverId, 0) != MMSYSERR_NOERROR) {
        return false;
    }
    const DWORD size = LargestFormatSize(driver);
    auto* listed = static_cast<WAVEFORMATEX*>(std::calloc(size, 1));
    bool listedAll = false;
    if (listed != nullptr) {
        listed->wFormatTag = static_cast<WORD>(search.tag);
        listed->cbSize = static_cast<WORD>(size - sizeof(WAVEFORMATEX));
        ACMFORMATDETAILSA details = {};
        details.cbStruct = sizeof details;
        details.dwFormatTag = search.tag;
        details.pwfx = listed;
        details.cbwfx = size;
        listedAll = acmFormatEnumA(driver, &details, FormatListed,
                                   reinterpret_cast<DWORD_PTR>(&search), 0) == MMSYSERR_NOERROR;
        std::free(listed);
    }
    acmDriverClose(driver, 0);
    return listedAll;
}

struct DriverSearch {
    DWORD tag;
    HACMDRIVERID found;
};

BOOL CALLBACK DriverListed(HACMDRIVERID driverId, DWORD_PTR instance, DWORD) {
    auto& drivers = *reinterpret_cast<DriverSearch*>(instance);
    unsigned char format[sizeof(WAVEFORMATEX)] = {};
    FormatSearch search = {drivers.tag, format, sizeof format, false};
    if (SearchDriver(driverId, search) && search.found) {
        drivers.found = driverId;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HACMDRIVERID FindDriverForTag(DWORD tag) {
    DriverSearch drivers = {tag, nullptr};
    if (acmDriverEnum(DriverListed, reinterpret_cast<DWORD_PTR>(&drivers), 0) != MMSYSERR_NOERROR) {
        return nullptr;
    }
    return drivers.found;
}

unsigned char* FirstFormatOfTag(HACMDRIVERID driverId, DWORD tag, uint32_t* size) {
    HACMDRIVER driver = nullptr;
    if (acmDriverOpen(&driver, driverId, 0) != MMSYSERR_NOERROR) {
        return nullptr;
    }
    const DWORD blockSize = LargestFormatSize(driver);
    acmDriverClose(driver, 0);
    auto* block = static_cast<unsigned char*>(std::calloc(blockSize, 1));
    if (block == nullptr) {
        return nullptr;
    }
    reinterpret_cast<WAVEFORMATEX*>(block)->cbSize =
        static_cast<WORD>(blockSize - sizeof(WAVEFORMATEX));
    FormatSearch search = {tag, block, blockSize, false};
    if (!SearchDriver(driverId, search) || !search.found) {
        std::free(block);
        return nullptr;
    }
    *size = blockSize;
    return block;
}
