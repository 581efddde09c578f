// The file name the voice recorder suggests for a new recording, and the check and extension
// completion of the name the user typed, both following the voice encoder chosen in plugin.ini.
#pragma once

#include <cstddef>

#include "compose/attachment_table.h"

constexpr int kVoiceNameBufferSize = 256; // the name read from the recorder's edit
constexpr int kVoiceNameEditLimit = 220;  // characters the edit accepts from the keyboard
constexpr int kVoiceNameMaxLength = 224;  // longer names are refused

inline constexpr char kVoiceNameForbiddenCharacters[] = "\\/:*?\"<>|";
inline constexpr char kInvalidVoiceNameText[] =
    "A filename cannot contain any of the following characters:\n"
    "                      \\ / : * ? \" < > | ";
inline constexpr char kInvalidVoiceNameCaption[] = "Rename Sound File";

// The encoder choice that decides names: the audio selection of plugin.ini, the selected custom
// slot and the custom encoder's extension (without the dot).
struct VoiceNameRules {
    int audioSelection;
    int customSlot;
    const char* customExtension;
};

// The attachments, up to the first free slot, whose path has at least 12 characters and whose
// last 12 characters begin with "voicem".
int CountVoiceAttachments(const AttachmentTable& table);

// The suggestion for the n-th voice file: "voicemsg.wav", "voicem01.wav" .. "voicem09.wav",
// "voicem10.wav", ... with ".mp3" for MP3 and the custom extension for a custom encoder in slot
// 0 or 1. Any other choice, or a name that does not fit, gives an empty text and false.
bool SuggestVoiceFileName(int count, const VoiceNameRules& rules, char* out, size_t outSize);

// Checks the name in a 256-byte buffer: it must not be empty, longer than 224 characters or
// contain any of \ / : * ? " < > |. A valid name gets the extension the encoder produces. Returns
// 1 for a valid name, 0 otherwise (also when the completed name would not fit; the name is then
// left as it was).
int ValidateVoiceFileName(char (&name)[kVoiceNameBufferSize], const VoiceNameRules& rules);
