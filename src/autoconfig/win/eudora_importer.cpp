// Eudora's settings file beside its program.
#include "autoconfig/win/importers.h"

#include <string>

#include "base/file_bytes.h"
#include "autoconfig/eudora_ini.h"
#include "autoconfig/mail_handler.h"
#include "autoconfig/win/mail_programs.h"

void CollectEudoraAccount(CandidateTable& table) {
    char command[kCommandLineSize] = {};
    std::string folder;
    if (!ReadMailHandlerCommand(command) ||
        !FolderBeforeProgramName(command, "EUDORA.EXE", "Eudora.exe", "eudora.exe", folder)) {
        return;
    }
    std::string bytes;
    if (!ReadFileBytes((folder + "eudora.ini").c_str(), bytes)) {
        return;
    }
    const EudoraSettings settings = ReadEudoraIni(bytes);
    if (settings.address.empty() || settings.server.empty()) {
        return;
    }
    AddCandidate(table, {settings.address.c_str(), settings.name.c_str(), "",
                         settings.server.c_str(), 0, ConnectionSecurity::Unknown});
}
