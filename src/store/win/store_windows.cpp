#include "store/win/store_windows.h"

StoreWindows storeWindows = {};
