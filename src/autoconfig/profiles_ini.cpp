#include "autoconfig/profiles_ini.h"

#include <algorithm>
#include <cctype>

#include "autoconfig/source_lines.h"

namespace {

struct ProfileSection {
    std::string path;
    bool relative = true;
    bool relativeGiven = false;
    bool isDefault = false;
};

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

// "C:\...", "C:/..." or "\\server\...": a path that does not count from the base folder.
bool LooksAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || path.compare(0, 2, "\\\\") == 0;
}

std::string FolderOf(const std::string& baseFolder, std::string path, bool relative) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.empty()) {
        return {};
    }
    std::string folder = relative ? baseFolder + path : path;
    if (folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

} // namespace

std::vector<std::string> ReadProfilesIni(std::string_view text, const std::string& baseFolder) {
    std::vector<ProfileSection> profiles;
    std::vector<std::string> installDefaults; // relative paths named by [Install...] sections
    enum class Section { Other, Profile, Install } section = Section::Other;
    ForEachSourceLine(text, [&](std::string_view rawLine) {
        const std::string_view line = Trimmed(rawLine);
        if (!line.empty() && line.front() == '[') {
            const std::string_view name = line.substr(1);
            section = StartsWithNoCase(name, "Profile")   ? Section::Profile
                      : StartsWithNoCase(name, "Install") ? Section::Install
                                                          : Section::Other;
            if (section == Section::Profile) {
                profiles.emplace_back();
            }
            return;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || section == Section::Other) {
            return;
        }
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string value(Trimmed(line.substr(equals + 1)));
        if (section == Section::Install) {
            if (EqualsNoCase(key, "Default") && !value.empty()) {
                installDefaults.push_back(value);
            }
            return;
        }
        ProfileSection& profile = profiles.back();
        if (EqualsNoCase(key, "Path")) {
            profile.path = value;
        } else if (EqualsNoCase(key, "IsRelative")) {
            profile.relative = value == "1";
            profile.relativeGiven = true;
        } else if (EqualsNoCase(key, "Default")) {
            profile.isDefault = value == "1";
        }
    });

    std::vector<std::string> folders;
    auto add = [&](const std::string& folder) {
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    };
    auto folderOf = [&](const ProfileSection& profile) {
        const bool relative =
            profile.relativeGiven ? profile.relative : !LooksAbsolute(profile.path);
        return FolderOf(baseFolder, profile.path, relative);
    };
    for (const std::string& path : installDefaults) {
        add(FolderOf(baseFolder, path, !LooksAbsolute(path)));
    }
    for (const ProfileSection& profile : profiles) {
        if (profile.isDefault) {
            add(folderOf(profile));
        }
    }
    for (const ProfileSection& profile : profiles) {
        add(folderOf(profile));
    }
    return folders;
}
