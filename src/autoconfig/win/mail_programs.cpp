#include "autoconfig/win/mail_programs.h"

#include <string>

#include "autoconfig/win/registry_reader.h"

namespace {

bool ReadOpenCommand(const std::string& className, char (&command)[kCommandLineSize]) {
    const std::string key = className + "\\shell\\open\\command";
    return ReadRegistryString(HKEY_CLASSES_ROOT, key.c_str(), nullptr, command) &&
           command[0] != '\0';
}

} // namespace

bool ReadMailHandlerCommand(char (&command)[kCommandLineSize]) {
    if (ReadOpenCommand("mailto", command)) {
        return true;
    }
    char progId[256] = {};
    if (!ReadRegistryString(HKEY_CURRENT_USER,
                            "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\"
                            "mailto\\UserChoice",
                            "ProgId", progId) ||
        progId[0] == '\0') {
        return false;
    }
    return ReadOpenCommand(progId, command);
}

bool ReadBrowserCommand(char (&command)[kCommandLineSize]) {
    return ReadRegistryString(HKEY_CLASSES_ROOT, "HTTP\\shell\\open\\command", nullptr, command);
}
