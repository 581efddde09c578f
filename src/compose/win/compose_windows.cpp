#include "compose/win/compose_windows.h"

ComposeWindows composeWindows = {};
