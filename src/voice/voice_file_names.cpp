#include "voice/voice_file_names.h"

#include <cstdio>
#include <cstring>

#include "plugins/plugin_settings.h"

namespace {

constexpr size_t kCountedTailLength = 12; // "voicemNN.ext"

bool CustomSlotSelected(const VoiceNameRules& rules) {
    return rules.audioSelection == kAudioCustom && (rules.customSlot == 0 || rules.customSlot == 1);
}

const char* ExtensionOf(const VoiceNameRules& rules) {
    return rules.customExtension != nullptr ? rules.customExtension : "";
}

bool EndsWith(const char* text, size_t length, const char* tail) {
    const size_t tailLength = std::strlen(tail);
    return length >= tailLength && std::memcmp(text + length - tailLength, tail, tailLength) == 0;
}

// Replaces the name by its first `keep` characters followed by the parts; false, with the name
// unchanged, when the result does not fit.
bool Complete(char (&name)[kVoiceNameBufferSize], size_t keep, const char* dot,
              const char* extension) {
    char completed[kVoiceNameBufferSize];
    const int length = std::snprintf(completed, sizeof completed, "%.*s%s%s",
                                     static_cast<int>(keep), name, dot, extension);
    if (length < 0 || length >= static_cast<int>(sizeof completed)) {
        return false;
    }
    std::memcpy(name, completed, static_cast<size_t>(length) + 1);
    return true;
}

} // namespace

int CountVoiceAttachments(const AttachmentTable& table) {
    int count = 0;
    for (const AttachmentEntry& entry : table.slots) {
        const size_t length = strnlen(entry.path, sizeof entry.path);
        if (length == 0) {
            break;
        }
        if (length >= kCountedTailLength &&
            std::strncmp(entry.path + length - kCountedTailLength, "voicem", 6) == 0) {
            ++count;
        }
    }
    return count;
}

bool SuggestVoiceFileName(int count, const VoiceNameRules& rules, char* out, size_t outSize) {
    if (out == nullptr || outSize == 0) {
        return false;
    }
    out[0] = '\0';
    const char* extension = nullptr;
    if (rules.audioSelection == kAudioGsm || rules.audioSelection == kAudioUncompressed) {
        extension = "wav";
    } else if (rules.audioSelection == kAudioMp3) {
        extension = "mp3";
    } else if (CustomSlotSelected(rules)) {
        extension = ExtensionOf(rules);
    } else {
        return false;
    }
    int length;
    if (count <= 0) {
        length = std::snprintf(out, outSize, "voicemsg.%s", extension);
    } else if (count <= 9) {
        length = std::snprintf(out, outSize, "voicem0%d.%s", count, extension);
    } else {
        length = std::snprintf(out, outSize, "voicem%d.%s", count, extension);
    }
    if (length < 0 || static_cast<size_t>(length) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}

int ValidateVoiceFileName(char (&name)[kVoiceNameBufferSize], const VoiceNameRules& rules) {
    const size_t length = strnlen(name, sizeof name);
    if (length == 0 || length > kVoiceNameMaxLength || length == sizeof name) {
        return 0;
    }
    if (std::strpbrk(name, kVoiceNameForbiddenCharacters) != nullptr) {
        return 0;
    }
    if (rules.audioSelection == kAudioGsm || rules.audioSelection == kAudioUncompressed) {
        if (EndsWith(name, length, ".wav")) {
            return 1;
        }
        return Complete(name, length, "", ".wav") ? 1 : 0;
    }
    if (rules.audioSelection == kAudioMp3) {
        if (EndsWith(name, length, ".wav")) {
            return Complete(name, length - 4, "", ".mp3") ? 1 : 0;
        }
        if (EndsWith(name, length, ".mp3")) {
            return 1;
        }
        return Complete(name, length, "", ".mp3") ? 1 : 0;
    }
    if (CustomSlotSelected(rules)) {
        const char* extension = ExtensionOf(rules);
        if (EndsWith(name, length, ".wav")) {
            return Complete(name, length - 4, ".", extension) ? 1 : 0;
        }
        if (EndsWith(name, length, extension)) {
            return 1;
        }
        return Complete(name, length, ".", extension) ? 1 : 0;
    }
    return 1;
}
