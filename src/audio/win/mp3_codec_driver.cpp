#include "audio/win/mp3_codec_driver.h"

#include <cstdio>

#include "audio/win/readable_file.h"
#include "base/win/scoped_handles.h"

HACMDRIVERID addedMp3Driver = nullptr;

namespace {

constexpr int kPlaces = 6;
constexpr size_t kPathSize = MAX_PATH + 32;

HMODULE codecModule = nullptr;

// The path of place `index` (0..5); false when it does not exist (windir not set).
bool PlacePath(int index, char* path, size_t size) {
    static const char* const kWindirPlaces[] = {"system\\l3codecp.acm", "system32\\l3codecp.acm",
                                                "system\\l3codeca.acm", "system32\\l3codeca.acm"};
    if (index < 4) {
        char windir[MAX_PATH] = {};
        DWORD length = GetEnvironmentVariableA("windir", windir, sizeof windir);
        if (length == 0 || length >= sizeof windir) {
            return false;
        }
        int written = std::snprintf(path, size, "%s\\%s", windir, kWindirPlaces[index]);
        return written >= 0 && static_cast<size_t>(written) < size;
    }
    char system[260] = {};
    UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system) {
        return false;
    }
    int written =
        std::snprintf(path, size, "%s\\%s", system, index == 4 ? "l3codeca.acm" : "l3codecp.acm");
    return written >= 0 && static_cast<size_t>(written) < size;
}

} // namespace

int FindMp3CodecFile(char* path, size_t size) {
    for (int i = 0; i < kPlaces; ++i) {
        if (PlacePath(i, path, size) && FileIsReadable(path)) {
            return 1;
        }
    }
    return 0;
}

int Mp3CodecFileFound() {
    int found = 0;
    for (int i = 0; i < kPlaces; ++i) {
        char path[kPathSize];
        if (PlacePath(i, path, sizeof path) && FileIsReadable(path)) {
            found = 1;
        }
    }
    return found;
}

int Mp3CodecPresentIn(const char* programDirectory) {
    char path[kPathSize + 1024];
    int length = std::snprintf(path, sizeof path, "%skto2mp3.exe", programDirectory);
    if (length >= 0 && static_cast<size_t>(length) < sizeof path && FileIsReadable(path)) {
        return 1;
    }
    return Mp3CodecFileFound();
}

int AddMp3CodecDriver() {
    char path[kPathSize];
    if (addedMp3Driver != nullptr || !FindMp3CodecFile(path, sizeof path)) {
        return 0;
    }
    ScopedModule module(LoadLibraryA(path));
    FARPROC driverProc = module ? GetProcAddress(module.get(), "DriverProc") : nullptr;
    MMRESULT added =
        acmDriverAddA(&addedMp3Driver, module.get(), reinterpret_cast<LPARAM>(driverProc), 0,
                      ACM_DRIVERADDF_FUNCTION);
    if (added == MMSYSERR_INVALPARAM) {
        addedMp3Driver = nullptr;
        return 0;
    }
    codecModule = module.release(); // freed by RemoveMp3CodecDriver, which reports the result
    return 1;
}

int RemoveMp3CodecDriver() {
    if (addedMp3Driver != nullptr) {
        acmDriverRemove(addedMp3Driver, 0);
        addedMp3Driver = nullptr;
    }
    if (codecModule == nullptr) {
        return 0;
    }
    const BOOL freed = FreeLibrary(codecModule);
    codecModule = nullptr;
    return freed ? 1 : 0;
}
