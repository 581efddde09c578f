#include "plugins/win/plugin_windows.h"

PluginWindows pluginWindows = {};
