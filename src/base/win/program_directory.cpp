#include "base/win/program_directory.h"

char programDirectory[kPathLength];
