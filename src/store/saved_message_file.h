// The ".kto" file of a saved message. The header lines come in a fixed order, each ended by
// CR LF: FROMemail, FROMname, TO with its address lines, CC, BCC, SUBJECT, ATTACHMENTS with the
// paths of the copies, FLAGHTML=, DATE= and BODY. The body's RTF follows up to the end of the
// file, stored as a text-mode file stores it: every LF as CR LF, so an RTF line end CR LF is on
// disk as CR CR LF.
#pragma once

#include "mail/outgoing_message.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct ProgramSettings;

constexpr int kLoadLineLength = 4096;  // a header line is read with this buffer: 4095 characters
constexpr int kFieldTextLength = 4096; // the To, Cc and Bcc field texts: 4095 characters

constexpr const char* kSaveReportCaption = "File -> Save";

// Appends data as a text-mode file stores it: every LF becomes CR LF.
void AppendTextModeBytes(std::string& out, const char* data, size_t length);

// Reads data back as a text-mode reader does: CR LF becomes LF, every other byte stays.
std::string UndoTextModeBytes(const char* data, size_t length);

// The header lines of a save, from FROMemail to BODY. The attachment lines hold the copies'
// paths in messageFolder (AttachmentCopyPaths). A value never carries a line end into the file:
// it is cut at its first CR or LF.
std::string FormatSavedMessageHeader(const OutgoingMessage& message,
                                     const ProgramSettings& settings, const char* messageFolder,
                                     const char* dateText);

// The whole file: the header lines, then the body RTF through the text-mode translation.
std::string FormatSavedMessageFile(const OutgoingMessage& message, const ProgramSettings& settings,
                                   const char* messageFolder, const char* dateText, const char* rtf,
                                   size_t rtfLength);

// The report shown after a save that is not silent.
std::string FormatSaveReport(const char* firstTo, const char* subject, const char* dateText);

// A saved message as the composer receives it on load.
struct SavedMessage {
    char to[kFieldTextLength]; // addresses separated by one blank
    char cc[kFieldTextLength];
    char bcc[kFieldTextLength];
    char subject[kSubjectLength];
    int32_t htmlFormatting;
    int32_t attachmentCount;
    char attachmentPaths[kMaxAttachments][kAttachmentPathLength]; // the copies, as listed
    bool hasBody;                                                 // a BODY line was found
    std::string bodyRtf; // the RTF after BODY, with the text-mode translation undone
};

// Empties every field.
void ClearSavedMessage(SavedMessage& message);

// Reads the bytes of a ".kto" file into message (cleared first). Lines are read as text, at
// most 4095 characters each (the rest of a longer line is passed over); the first key a line
// starts with decides: TO, CC and BCC append their address lines' letters, digits and
// punctuation to the field; SUBJECT keeps letters, digits, punctuation and blanks; every
// ATTACHMENTS line is cut at its first other character, and a path that is empty or does not fit
// 1023 characters is left out, as are paths past the 64th; FLAGHTML=1 sets htmlFormatting; BODY
// takes the rest of the file. An address that no longer fits its field whole is left out.
// False for empty data, which loads nothing.
bool ParseSavedMessage(const char* data, size_t size, SavedMessage& message);

// The text of a composer field once a load adds its loaded text: the field's own text first
// (unless it is empty or shows its placeholder, which may be nullptr), one blank, then the
// loaded text. A field with nothing loaded keeps its text.
std::string FieldTextAfterLoad(const std::string& fieldText, const char* placeholder,
                               const char* loaded);
