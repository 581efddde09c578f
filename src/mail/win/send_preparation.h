// Taking the snapshot of the composed message (outgoingMessage) for sending: the checks of the
// sender and the To field, the recipient lists, the body parts from the editor and the list of
// attachments that can be read.
#pragma once

#include <windows.h>

constexpr int kBodyPartText = 1000; // the plain text, from the editor's lines
constexpr int kBodyPartHtml = 1001; // the HTML, from the editor's RTF stream-out

// Builds the text part (kBodyPartText) or the HTML part (kBodyPartHtml) of outgoingMessage from
// the body editor. False only when memory runs out; RTF the converter cannot read leaves the
// message without an HTML part and is no failure.
bool BuildBodyPart(HWND editor, int mode);

// Takes the Cc and Bcc lists, the subject ("No Subject" for the placeholder) and the HTML flag
// from the composer into outgoingMessage. Nothing here is checked.
void TakeCopiesAndSubject();

// Builds the body parts of outgoingMessage from the body editor: the text part (an empty editor
// is given a blank first) and, when the message is formatted, the HTML part. A failure is
// reported ("Email Body Error") and gives false.
bool TakeBodyParts();

// Copies every readable attachment of the attachment table into outgoingMessage. An unreadable
// one is reported ("Couldn't find the attachment ...") and removed from the table.
void CollectAttachments();

// Resets outgoingMessage and fills it from the composer. With USEMAPI 0 the sender and the To
// field are checked first (the user is told what is missing and the To field gets the focus).
// False when the message cannot be sent as it is.
bool PrepareOutgoingMessage();
