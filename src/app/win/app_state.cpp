#include "app/win/app_state.h"

ProgramSettings programSettings;
MainWindowState app = {};
