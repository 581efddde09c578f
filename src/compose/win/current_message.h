// The message being composed, in its windows: the address panel's edits, the body editor and
// the attachment table, found through composeWindows.
#pragma once

#include "compose/current_message.h"

// 1 when the message holds anything the user entered, else 0.
int MessageHasContent();

// Empties the fields, the body and the attachment table, and resets the sending state.
void ClearMessage();
