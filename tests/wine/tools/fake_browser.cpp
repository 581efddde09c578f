// A stand-in web browser for the Help tests: it writes the command line it was started with,
// and the folder it was started in, to browser.log beside itself, and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    if (!slash) {
        return 1;
    }
    std::strcpy(slash + 1, "browser.log");
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    FILE* log = std::fopen(path, "wb");
    if (!log) {
        return 1;
    }
    std::fprintf(log, "%s\n%s\n", GetCommandLineA(), folder);
    std::fclose(log);
    return 0;
}
