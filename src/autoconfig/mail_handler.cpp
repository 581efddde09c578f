#include "autoconfig/mail_handler.h"

#include <cstring>

namespace {

struct ProgramName {
    const char* spellings[3];
    Importer importer;
};

const ProgramName kMailPrograms[] = {
    {{"OUTLOOK", "Outlook", "outlook"}, Importer::Outlook},
    {{"EUDORA", "Eudora", "eudora"}, Importer::Eudora},
    {{"COMMUNICATOR", "Communicator", "communicator"}, Importer::Communicator},
    {{"NAVIGATOR", "Navigator", "navigator"}, Importer::Navigator},
    {{"THUNDERBIRD", "Thunderbird", "thunderbird"}, Importer::Thunderbird},
};

const ProgramName kBrowsers[] = {
    {{"IEXPLORE", "Iexplore", "iexplore"}, Importer::Outlook},
    {{"COMMUNICATOR", "Communicator", "communicator"}, Importer::Communicator},
    {{"NAVIGATOR", "Navigator", "navigator"}, Importer::Navigator},
};

template <size_t N> Importer FirstNamed(const char* command, const ProgramName (&programs)[N]) {
    if (command == nullptr) {
        return Importer::None;
    }
    for (const ProgramName& program : programs) {
        for (const char* spelling : program.spellings) {
            if (std::strstr(command, spelling)) {
                return program.importer;
            }
        }
    }
    return Importer::None;
}

} // namespace

Importer ImporterForMailCommand(const char* command) {
    return FirstNamed(command, kMailPrograms);
}

Importer ImporterForBrowserCommand(const char* command) {
    return FirstNamed(command, kBrowsers);
}

bool FolderBeforeProgramName(const char* command, const char* upperName, const char* mixedName,
                             const char* lowerName, std::string& folder) {
    if (command == nullptr) {
        return false;
    }
    for (const char* name : {upperName, mixedName, lowerName}) {
        if (const char* at = std::strstr(command, name)) {
            // A quoted program path: the folder starts after the quote.
            const char* start = command;
            while (start < at && (*start == '"' || *start == ' ')) {
                ++start;
            }
            folder.assign(start, static_cast<size_t>(at - start));
            return true;
        }
    }
    return false;
}
