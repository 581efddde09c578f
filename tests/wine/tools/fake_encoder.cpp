// A stand-in custom encoder for the runner tests, started as
//     fake_encoder.exe -in <input> -out <output> [-wait]
// It writes encoder.log into its current folder (its whole command line, the arguments its
// start-up code hands over, that folder and its process id), then copies the input to the output;
// with -wait it first sleeps for a minute, so that a test can cancel it. It ends with exit code 3:
// the runner takes any end as done.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char arguments[2048] = {};
    std::snprintf(arguments, sizeof arguments, "%s", commandLine);
    const char* input = nullptr;
    const char* output = nullptr;
    bool wait = false;
    const char* previous = "";
    for (char* word = std::strtok(arguments, " "); word; word = std::strtok(nullptr, " ")) {
        if (std::strcmp(previous, "-in") == 0) {
            input = word;
        } else if (std::strcmp(previous, "-out") == 0) {
            output = word;
        } else if (std::strcmp(word, "-wait") == 0) {
            wait = true;
        }
        previous = word;
    }

    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    if (FILE* log = std::fopen("encoder.log", "wb")) {
        std::fprintf(log, "%s\n%s\n%s\n%lu\n", GetCommandLineA(), commandLine, folder,
                     GetCurrentProcessId());
        std::fclose(log);
    }
    if (wait) {
        Sleep(60000);
    }
    if (!input || !output) {
        return 2;
    }
    FILE* from = std::fopen(input, "rb");
    FILE* to = from ? std::fopen(output, "wb") : nullptr;
    if (to) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, from)) > 0) {
            std::fwrite(buffer, 1, got, to);
        }
        std::fclose(to);
    }
    if (from) {
        std::fclose(from);
    }
    return 3;
}
