// The profile folders listed by a profiles.ini file: [ProfileN] sections with Path= and
// IsRelative=, relative paths counting from the folder that holds the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folders, each with a trailing backslash: the installation's default profile first, then
// the one marked Default=1, then the others in the file's order, each once. baseFolder ends
// with a backslash.
std::vector<std::string> ReadProfilesIni(std::string_view text, const std::string& baseFolder);
