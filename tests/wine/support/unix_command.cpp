#include "support/unix_command.h"

#include <windows.h>

#include <cstdlib>

#include "support/harness.h"

std::string Environment(const char* name) {
    char value[512] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

std::string UnixPath(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(const WCHAR*);
    static const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) {
        return "";
    }
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* unix = convert(wide);
    if (!unix) {
        return "";
    }
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

std::string Quoted(const std::string& windowsPath) {
    return "'" + UnixPath(windowsPath) + "'";
}

UnixCommand::UnixCommand(const std::string& folder, const std::string& command) {
    static int counter = 0;
    marker_ = folder + "command-" + std::to_string(++counter) + ".done";
    std::string line = "/bin/sh -c \"" + command + "; echo $? > '" + UnixPath(marker_) + "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    started_ = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process) != 0;
    if (started_) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

int UnixCommand::Wait(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (started_ && static_cast<int>(end - GetTickCount()) > 0) {
        const std::string status = ReadWholeFile(marker_);
        if (!status.empty() && status.back() == '\n') {
            return std::atoi(status.c_str());
        }
        PumpMessages();
        Sleep(20);
    }
    return -1;
}
