// The message being composed: the address panel's edits, the body editor, the attachment table
// and two flags.
#pragma once

// Set when the user formats the body; the sent message then carries an HTML alternative.
extern int htmlFormatting;
// Set after a successful send; Close and New Message do not ask about a sent message.
extern int alreadySent;

// 1 when the message holds anything the user entered, else 0.
int MessageHasContent();

// Empties the fields, the body and the attachment table, and resets the sending state.
void ClearMessage();
