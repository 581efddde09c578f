// The groups of an RTF text. A saved file cut short inside its body leaves groups open, and the
// body editor refuses such RTF; closed again, it shows the text that was there.
#pragma once

#include <cstddef>
#include <string>

// The number of groups still open at the end: every "{" opens one, every "}" closes the
// innermost; an escaped brace ("\{", "\}") is text.
size_t OpenRtfGroups(const std::string& rtf);

// The RTF with one "}" added for each group left open. Escapes cut short at the end (a lone
// backslash, or "\'" without both hex digits) are dropped first, so that none can take the
// added brace as its own character.
std::string CloseRtfGroups(const std::string& rtf);
