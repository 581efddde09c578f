// The read-only sender line of the address panel.
#pragma once

#include <string>

#include "base/program_settings.h"

// "send via MAPI", or "Name <address>" with the reply-to address when there is one.
std::string FormatSenderLine(const ProgramSettings& settings);
