#include "plugins/encoder_command_line.h"

#include <cstdio>
#include <cstring>

#include "plugins/custom_encoder_line.h"

namespace {

bool EndsWith(const char* text, size_t length, const char* suffix) {
    size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength &&
           std::memcmp(text + length - suffixLength, suffix, suffixLength) == 0;
}

// Drops `drop` characters from the end of name and appends the parts, when the result fits.
int ReplaceEnd(char* name, size_t size, size_t drop, const char* first, const char* second) {
    size_t kept = std::strlen(name) - drop;
    size_t firstLength = std::strlen(first);
    size_t secondLength = std::strlen(second);
    if (kept + firstLength + secondLength >= size) {
        return 0;
    }
    std::memcpy(name + kept, first, firstLength);
    std::memcpy(name + kept + firstLength, second, secondLength);
    name[kept + firstLength + secondLength] = '\0';
    return 1;
}

// Completes name to end in `extension` (with its dot): `replaced` (with its dot) is swapped for
// it, a name already ending in it is kept, anything else gets it appended.
int CompleteName(char* name, size_t size, const char* replaced, const char* extension) {
    size_t length = std::strlen(name);
    if (EndsWith(name, length, replaced)) {
        return ReplaceEnd(name, size, std::strlen(replaced), extension, "");
    }
    if (EndsWith(name, length, extension)) {
        return 1;
    }
    return ReplaceEnd(name, size, 0, extension, "");
}

// A command line that was cut is not started: it is emptied instead.
int Fits(int length, char* commandLine, size_t size) {
    if (length >= 0 && static_cast<size_t>(length) < size) {
        return 1;
    }
    if (size > 0) {
        commandLine[0] = '\0';
    }
    return 0;
}

} // namespace

int CompleteMp3OutputName(char* name, size_t size) {
    return CompleteName(name, size, ".wav", ".mp3");
}

int CompleteRealVideoOutputName(char* name, size_t size) {
    return CompleteName(name, size, ".avi", ".rm");
}

int CompleteCustomOutputName(char* name, size_t size, const char* extension) {
    size_t length = std::strlen(name);
    if (EndsWith(name, length, ".wav")) {
        return ReplaceEnd(name, size, 4, ".", extension);
    }
    if (EndsWith(name, length, extension)) {
        return 1;
    }
    return ReplaceEnd(name, size, 0, ".", extension);
}

int BuildQualityCommandLine(int quality, const char* outputName, char* commandLine, size_t size) {
    int length = std::snprintf(commandLine, size, " %d%s", quality, outputName);
    return Fits(length, commandLine, size);
}

int BuildCustomCommandLine(const char* preparedLine, const char* outputName, char* commandLine,
                           size_t size) {
    const char* mark = std::strstr(preparedLine, kCustomOutputMark);
    int length;
    if (mark == nullptr) {
        length = std::snprintf(commandLine, size, "%s", preparedLine);
    } else {
        length = std::snprintf(commandLine, size, "%.*s%s%s", static_cast<int>(mark - preparedLine),
                               preparedLine, outputName, mark + std::strlen(kCustomOutputMark));
    }
    return Fits(length, commandLine, size);
}
