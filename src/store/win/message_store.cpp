#include "store/win/message_store.h"

// Saved messages come with their own work; until then these commands do nothing.
void SaveMessage(int) {}
void OpenLoadMessageDialog(HWND) {}
