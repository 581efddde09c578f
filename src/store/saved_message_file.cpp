#include "store/saved_message_file.h"

#include "base/program_settings.h"
#include "store/saved_message_lines.h"
#include "store/saved_message_names.h"

#include <cstring>
#include <vector>

namespace {

// The text of a fixed field up to its terminator, its end or its first line end.
std::string LineValue(const char* text, size_t fieldSize) {
    size_t length = 0;
    while (length < fieldSize && text[length] != '\0' && text[length] != '\r' &&
           text[length] != '\n') {
        ++length;
    }
    return std::string(text, length);
}

std::string LineValue(const char* text) {
    return text == nullptr ? std::string() : LineValue(text, std::strlen(text));
}

void AppendLine(std::string& out, const char* key, const std::string& value) {
    out += key;
    out += value;
    out += "\r\n";
}

int RecipientCount(const RecipientList& list) {
    int count = 0;
    while (count < kRecipientCount && list.entries[count][0] != '\0') {
        ++count;
    }
    return count;
}

void AppendRecipients(std::string& out, const char* key, const RecipientList& list) {
    const int count = RecipientCount(list);
    AppendLine(out, key, std::to_string(count));
    for (int i = 0; i < count; ++i) {
        AppendLine(out, "", LineValue(list.entries[i], kRecipientLength));
    }
}

bool StartsWith(const char* line, const char* key) {
    return std::strncmp(line, key, std::strlen(key)) == 0;
}

// Reads the count address lines that follow a TO, CC or BCC line into the field.
void ReadAddressLines(LineCursor& cursor, int count, char* line, char* field) {
    for (int i = 0; i < count && ReadNextLine(cursor, line, kLoadLineLength); ++i) {
        AppendKeptCharacters(field, kFieldTextLength, line, IsAddressCharacter, true);
    }
}

void ReadAttachmentLines(LineCursor& cursor, int count, char* line, SavedMessage& message) {
    for (int i = 0; i < count && ReadNextLine(cursor, line, kLoadLineLength); ++i) {
        size_t length = 0;
        while (IsTextCharacter(static_cast<unsigned char>(line[length]))) {
            ++length;
        }
        // A cut path would name some other file, so a path that does not fit is left out.
        if (length == 0 || length >= static_cast<size_t>(kAttachmentPathLength) ||
            message.attachmentCount >= kMaxAttachments) {
            continue;
        }
        std::memcpy(message.attachmentPaths[message.attachmentCount], line, length);
        message.attachmentPaths[message.attachmentCount][length] = '\0';
        ++message.attachmentCount;
    }
}

// "FLAG" is followed by a name, "=" and a value; only HTML with the value 1 means anything.
void ReadFlagLine(const char* afterKey, SavedMessage& message) {
    const char* equals = std::strchr(afterKey, '=');
    if (equals == nullptr) {
        return;
    }
    const std::string name(afterKey, static_cast<size_t>(equals - afterKey));
    if (name == "HTML" && ReadCount(equals + 1) == 1) {
        message.htmlFormatting = 1;
    }
}

} // namespace

void AppendTextModeBytes(std::string& out, const char* data, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (data[i] == '\n') {
            out += '\r';
        }
        out += data[i];
    }
}

std::string UndoTextModeBytes(const char* data, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        if (data[i] == '\r' && i + 1 < length && data[i + 1] == '\n') {
            continue;
        }
        out += data[i];
    }
    return out;
}

std::string FormatSavedMessageHeader(const OutgoingMessage& message,
                                     const ProgramSettings& settings, const char* messageFolder,
                                     const char* dateText) {
    std::string out;
    AppendLine(out, "FROMemail", LineValue(settings.mailFrom, sizeof settings.mailFrom));
    AppendLine(out, "FROMname", LineValue(settings.userName, sizeof settings.userName));
    AppendRecipients(out, "TO", message.to);
    AppendRecipients(out, "CC", message.cc);
    AppendRecipients(out, "BCC", message.bcc);
    AppendLine(out, "SUBJECT", LineValue(message.subject, sizeof message.subject));

    const std::vector<std::string> copies = AttachmentCopyPaths(messageFolder, message);
    AppendLine(out, "ATTACHMENTS", std::to_string(copies.size()));
    for (const std::string& copy : copies) {
        AppendLine(out, "", LineValue(copy.c_str()));
    }
    AppendLine(out, "FLAGHTML=", message.alternative != 0 ? "1" : "0");
    AppendLine(out, "DATE=", LineValue(dateText));
    AppendLine(out, "BODY", "");
    return out;
}

std::string FormatSavedMessageFile(const OutgoingMessage& message, const ProgramSettings& settings,
                                   const char* messageFolder, const char* dateText, const char* rtf,
                                   size_t rtfLength) {
    std::string out = FormatSavedMessageHeader(message, settings, messageFolder, dateText);
    if (rtf != nullptr) {
        AppendTextModeBytes(out, rtf, rtfLength);
    }
    return out;
}

std::string FormatSaveReport(const char* firstTo, const char* subject, const char* dateText) {
    return std::string("Message & all Attachments saved by     \n\nTo recipient:  ") +
           (firstTo == nullptr ? "" : firstTo) +
           "\nSubject:  " + (subject == nullptr ? "" : subject) +
           "\nDate:  " + (dateText == nullptr ? "" : dateText) +
           "\n\nYou can load the message with the File -> Load Message command.";
}

void ClearSavedMessage(SavedMessage& message) {
    std::memset(message.to, 0, sizeof message.to);
    std::memset(message.cc, 0, sizeof message.cc);
    std::memset(message.bcc, 0, sizeof message.bcc);
    std::memset(message.subject, 0, sizeof message.subject);
    message.htmlFormatting = 0;
    message.attachmentCount = 0;
    std::memset(message.attachmentPaths, 0, sizeof message.attachmentPaths);
    message.hasBody = false;
    message.bodyRtf.clear();
}

bool ParseSavedMessage(const char* data, size_t size, SavedMessage& message) {
    ClearSavedMessage(message);
    if (data == nullptr || size == 0) {
        return false;
    }
    std::vector<char> buffer(kLoadLineLength);
    char* line = buffer.data();
    LineCursor cursor = StartLines(data, size);

    while (ReadNextLine(cursor, line, kLoadLineLength)) {
        if (StartsWith(line, "FROMemail") || StartsWith(line, "FROMname")) {
            continue;
        }
        if (StartsWith(line, "TO")) {
            ReadAddressLines(cursor, ReadCount(line + 2), line, message.to);
        } else if (StartsWith(line, "CC")) {
            ReadAddressLines(cursor, ReadCount(line + 2), line, message.cc);
        } else if (StartsWith(line, "BCC")) {
            ReadAddressLines(cursor, ReadCount(line + 3), line, message.bcc);
        } else if (StartsWith(line, "SUBJECT")) {
            CopyKeptCharacters(message.subject, sizeof message.subject, line + 7, IsTextCharacter);
        } else if (StartsWith(line, "ATTACHMENTS")) {
            ReadAttachmentLines(cursor, ReadCount(line + 11), line, message);
        } else if (StartsWith(line, "FLAG")) {
            ReadFlagLine(line + 4, message);
        } else if (StartsWith(line, "BODY")) {
            size_t length = 0;
            const char* rest = RemainingData(cursor, &length);
            message.bodyRtf = UndoTextModeBytes(rest, length);
            message.hasBody = true;
            break;
        }
    }
    return true;
}
