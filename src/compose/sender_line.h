// The read-only sender line of the address panel.
#pragma once

#include <string>

#include "app/settings_file.h"

// "send via MAPI", or "Name <address>" with the reply-to address when there is one.
std::string FormatSenderLine(const ProgramSettings& settings);
