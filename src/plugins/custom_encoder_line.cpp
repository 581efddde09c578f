#include "plugins/custom_encoder_line.h"

#include <cstdio>
#include <cstring>

#include "base/scoped_file.h"

namespace {

bool IsWordEnd(char c) {
    return c == '\0' || c == ' ' || c == '\t';
}

size_t WordLength(const char* word) {
    size_t length = 0;
    while (!IsWordEnd(word[length])) {
        ++length;
    }
    return length;
}

bool ProgramFileReadable(const char* programDirectory, const char* name) {
    char path[1024];
    int length = std::snprintf(path, sizeof path, "%s%s", programDirectory, name);
    if (length < 0 || length >= static_cast<int>(sizeof path)) {
        return false;
    }
    return static_cast<bool>(ScopedFile(path, "rb"));
}

// The first word, taken as the program when it names a .exe that is in the program directory.
void FindProgramName(const char* line, const char* programDirectory,
                     CustomEncoderCommand& command) {
    const char* word = line;
    while (*word == ' ' || *word == '\t') {
        ++word;
    }
    char candidate[kCustomProgramNameLength];
    size_t length = WordLength(word);
    if (length == 0 || length >= sizeof candidate) {
        return;
    }
    std::memcpy(candidate, word, length);
    candidate[length] = '\0';
    if (std::strstr(candidate, ".exe") != nullptr &&
        ProgramFileReadable(programDirectory, candidate)) {
        std::memcpy(command.customProgramName, candidate, length + 1);
    }
}

// Replaces the mark at the start of at by text; the line's buffer must have room.
void ReplaceAt(char* at, size_t markLength, const char* text) {
    size_t textLength = std::strlen(text);
    std::memmove(at + textLength, at + markLength, std::strlen(at + markLength) + 1);
    std::memcpy(at, text, textLength);
}

} // namespace

int ParseCustomEncoderLine(const char* line, const char* programDirectory,
                           CustomEncoderCommand& command) {
    command.customProgramName[0] = '\0';
    command.customExtension[0] = '\0';
    char* prepared = command.preparedLine;
    if (line == nullptr) {
        line = "";
    }
    const size_t longest = kCustomLineLength - 1;
    const void* end = std::memchr(line, '\0', longest);
    size_t lineLength = end != nullptr ? static_cast<const char*>(end) - line : longest;
    std::memcpy(prepared, line, lineLength);
    prepared[lineLength] = '\0';
    if (lineLength == 0) {
        return 0;
    }

    FindProgramName(prepared, programDirectory, command);

    char* mark = std::strstr(prepared, kCustomExtensionMark);
    if (mark == nullptr) {
        return 0;
    }
    // Only a leading dot is dropped, so that ".gsm" and "gsm" both give gsm.
    const char* extension = mark + std::strlen(kCustomExtensionMark);
    if (*extension == '.') {
        ++extension;
    }
    size_t extensionLength = WordLength(extension);
    if (extensionLength >= sizeof command.customExtension) {
        return 0;
    }
    std::memcpy(command.customExtension, extension, extensionLength);
    command.customExtension[extensionLength] = '\0';

    char* input = std::strstr(prepared, kCustomInputMark);
    if (input != nullptr) {
        ReplaceAt(input, std::strlen(kCustomInputMark), kCustomInputReplacement);
    }

    mark = std::strstr(prepared, kCustomExtensionMark);
    if (mark != nullptr) {
        std::memset(mark, ' ', WordLength(mark));
    }
    return 1;
}
