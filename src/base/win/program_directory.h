// The folder of the running program, where it keeps Kestro.ini, plugin.ini, the recordings,
// the saved messages and the encoders it starts. Set once at start-up; the portable core takes
// it as a parameter instead.
#pragma once

#include "base/program_settings.h"

// Directory of the running executable, with its trailing backslash.
extern char programDirectory[kPathLength];
