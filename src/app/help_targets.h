// The vendor's web addresses and the local documents the Help commands open in the browser.
#pragma once

#include <string>

#include "resources/resource_ids.h"

// The vendor's web site; every web address of the program is built on it.
constexpr const char* kVendorSite = "http://" KESTRO_WEB_HOST "/";
constexpr const char* kSupportPage = "support.htm";
constexpr const char* kPluginDownloadPage = "download.htm#plugin";
constexpr const char* kUpdateCheckPath = "cgi-bin/checkupdate.cgi";
// Where the ad banner asks for the current ad unless the settings name other servers.
constexpr const char* kAdLocation = "http://" KESTRO_WEB_HOST "/cgi-bin/adlocation.cgi";

// The one-line page written as Kestro.htm so that the system names the program for HTML files.
std::string HelpLauncherPage();

// What a Help command opens: programDirectory + "DOCS\" + a document for the local documents,
// an address on the vendor's web site for the others; empty for any other command id.
std::string HelpTarget(int commandId, const char* programDirectory, int programVersion);

// Splits a program's path after its last backslash into its folder and its file name.
void SplitProgramPath(const std::string& path, std::string& folder, std::string& fileName);
