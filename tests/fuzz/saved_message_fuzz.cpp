// The readers of a saved message (".kto"): the full loader and the Load Message list. Any file
// gives terminated fields within their sizes; the list shows what the loader loads (the same
// subject, the start of the same To text) wherever the lines fit the list's line buffer; a
// loaded message saved again loads back the same, under a file name the system can make.
#include "fuzz_support.h"

#include <cstring>

#include "app/settings_file.h"
#include "mail/outgoing_message.h"
#include "store/saved_message_file.h"
#include "store/saved_message_lines.h"
#include "store/saved_message_list.h"
#include "store/saved_message_names.h"

namespace {

bool Terminated(const char* field, size_t size) {
    return std::memchr(field, '\0', size) != nullptr;
}

bool AllLinesShorterThan(const std::string& bytes, size_t limit) {
    size_t start = 0;
    for (size_t end = bytes.find('\n'); start < bytes.size(); end = bytes.find('\n', start)) {
        end = end == std::string::npos ? bytes.size() : end;
        if (end - start >= limit) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

// The addresses of a field as the save takes them, joined by one blank as a load gives them.
std::string Addresses(const char* field, RecipientList& list) {
    ParseRecipients(field, list);
    std::string joined;
    for (int i = 0; i < kRecipientCount && list.entries[i][0] != '\0'; ++i) {
        joined += std::string(i > 0 ? " " : "") + list.entries[i];
    }
    return joined;
}

void CheckLoaded(const SavedMessage& loaded) {
    FUZZ_CHECK(Terminated(loaded.to, sizeof loaded.to) && Terminated(loaded.cc, sizeof loaded.cc) &&
               Terminated(loaded.bcc, sizeof loaded.bcc) &&
               Terminated(loaded.subject, sizeof loaded.subject));
    FUZZ_CHECK(loaded.attachmentCount >= 0 && loaded.attachmentCount <= kMaxAttachments);
    for (int i = 0; i < loaded.attachmentCount; ++i) {
        const char* path = loaded.attachmentPaths[i];
        FUZZ_CHECK(Terminated(path, kAttachmentPathLength) && path[0] != '\0');
        for (const char* p = path; *p != '\0'; ++p) {
            FUZZ_CHECK(IsTextCharacter(static_cast<unsigned char>(*p)));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    static SavedMessage loaded;
    FUZZ_CHECK(ParseSavedMessage(bytes.data(), bytes.size(), loaded) == (size > 0));
    CheckLoaded(loaded);

    SavedMessageEntry entry;
    FUZZ_CHECK(ReadSavedMessageEntry("C:\\K\\save\\F\\m.kto", bytes.data(), bytes.size(), entry));
    FUZZ_CHECK(Terminated(entry.toText, sizeof entry.toText) &&
               Terminated(entry.subject, sizeof entry.subject) &&
               Terminated(entry.date, sizeof entry.date));
    FUZZ_CHECK(std::strcmp(entry.attachmentMark, "Y") == 0 ||
               std::strcmp(entry.attachmentMark, "N") == 0);
    if (AllLinesShorterThan(bytes, kListLineLength)) {
        FUZZ_CHECK(std::strcmp(entry.subject, loaded.subject) == 0);
        FUZZ_CHECK(std::string(loaded.to).substr(0, sizeof entry.toText - 1) == entry.toText);
    }
    FUZZ_CHECK(FieldTextAfterLoad("", nullptr, loaded.to) == loaded.to);

    // Saved as the composer would save it, the message loads back the same.
    static OutgoingMessage message;
    message = OutgoingMessage{};
    const std::string to = Addresses(loaded.to, message.to);
    const std::string cc = Addresses(loaded.cc, message.cc);
    const std::string bcc = Addresses(loaded.bcc, message.bcc);
    CopyField(message.subject, loaded.subject);
    message.alternative = loaded.htmlFormatting;
    for (int i = 0; i < loaded.attachmentCount; ++i) {
        AddOutgoingAttachment(message, loaded.attachmentPaths[i], 0);
    }
    const std::string saved = FormatSavedMessageFile(message, ProgramSettings{}, "C:\\K\\save\\F",
                                                     "Dec 06 2026  12:17 AM", loaded.bodyRtf.data(),
                                                     loaded.bodyRtf.size());
    // The file's name: a name the system can make and the Load Message list reads again.
    const std::string name = MessageFileName(message.to.entries[0], message.subject);
    FUZZ_CHECK(name.size() > 4 && name.size() <= 105 && !IsReservedDeviceName(name.c_str()));
    FUZZ_CHECK(IsSavedMessageFileEntry(name.c_str(), false));
    for (const char c : name) {
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 &&
                   std::strchr("\\/:*?\"<>|", c) == nullptr);
    }
    static SavedMessage again;
    FUZZ_CHECK(ParseSavedMessage(saved.data(), saved.size(), again));
    CheckLoaded(again);
    FUZZ_CHECK(again.to == to && again.cc == cc && again.bcc == bcc);
    FUZZ_CHECK(std::strcmp(again.subject, loaded.subject) == 0);
    FUZZ_CHECK(again.htmlFormatting == loaded.htmlFormatting);
    FUZZ_CHECK(again.attachmentCount <= loaded.attachmentCount);
    FUZZ_CHECK(again.hasBody && again.bodyRtf == loaded.bodyRtf);
    return 0;
}
