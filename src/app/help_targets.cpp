#include "app/help_targets.h"

#include <cstdio>

std::string HelpLauncherPage() {
    return std::string("<p align=\"center\"><a href=\"") + kVendorSite +
           "\">KESTRO WEBSITE</a></p>\n";
}

std::string HelpTarget(int commandId, const char* programDirectory, int programVersion) {
    auto document = [programDirectory](const char* name) {
        return std::string(programDirectory) + "DOCS\\" + name;
    };
    switch (commandId) {
    case 10022:
        return document("documentation.htm");
    case 10023:
        return document("encoders.htm");
    case 10024:
        return document("faq.htm");
    case 1005:
    case 10027:
        return kVendorSite;
    case 10025:
        return std::string(kVendorSite) + kSupportPage;
    case 10026: {
        char query[32];
        std::snprintf(query, sizeof query, "version%%3d%d", programVersion);
        return std::string(kVendorSite) + kUpdateCheckPath + "?" + query;
    }
    case 10046:
        return std::string(kVendorSite) + kPluginDownloadPage;
    default:
        return std::string();
    }
}

void SplitProgramPath(const std::string& path, std::string& folder, std::string& fileName) {
    size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) {
        folder.clear();
        fileName = path;
        return;
    }
    folder = path.substr(0, slash + 1);
    fileName = path.substr(slash + 1);
}
