// Which importer the system's mail handler (or web browser) command line points to.
#pragma once

#include <string>

enum class Importer {
    None,
    Outlook,      // Outlook, Outlook Express and the Internet Account Manager
    Navigator,    // Navigator's registry settings
    Communicator, // Communicator's profile folders
    Eudora,
    Thunderbird,
};

// The program a mailto command line names, searched case-sensitively in three spellings each:
// Outlook, then Eudora, Communicator, Navigator and Thunderbird.
Importer ImporterForMailCommand(const char* command);

// The program a web browser command line names: Internet Explorer (the Outlook importer),
// Communicator or Navigator.
Importer ImporterForBrowserCommand(const char* command);

// The command text before the first of the three spellings of name ("COMMUNICATOR",
// "Communicator", "communicator", tried in that order): the program's installation folder,
// without the quote that opens a quoted program path. False when the command holds none.
bool FolderBeforeProgramName(const char* command, const char* upperName, const char* mixedName,
                             const char* lowerName, std::string& folder);
