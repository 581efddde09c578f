// The current message beyond what its windows show: whether the user formatted the body and
// whether it has been sent. Reading and emptying the windows is compose/win/current_message.h.
#pragma once

// Set when the user formats the body; the sent message then carries an HTML alternative.
extern int htmlFormatting;
// Set after a successful send; Close and New Message do not ask about a sent message.
extern int alreadySent;
