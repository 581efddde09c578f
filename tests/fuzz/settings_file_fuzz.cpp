// Kestro.ini: any text loads into settings whose texts are terminated inside their fields and
// whose window lies on the screen; the file written from them loads back to the same settings,
// and writing those again gives the same file.
#include "fuzz_support.h"

#include <cstring>

#include "app/settings_file.h"

namespace {

constexpr ScreenSize kScreen = {1024, 768};

bool SameSettings(const ProgramSettings& a, const ProgramSettings& b) {
    return a.useMapi == b.useMapi && std::strcmp(a.userName, b.userName) == 0 &&
           std::strcmp(a.mailFrom, b.mailFrom) == 0 && std::strcmp(a.replyTo, b.replyTo) == 0 &&
           std::strcmp(a.serverName, b.serverName) == 0 && a.smtpPort == b.smtpPort && a.x == b.x &&
           a.y == b.y && a.width == b.width && a.height == b.height &&
           std::strcmp(a.attachDir, b.attachDir) == 0 && a.videoIndex == b.videoIndex &&
           a.alwaysClose == b.alwaysClose && a.alwaysSave == b.alwaysSave &&
           a.alwaysClear == b.alwaysClear && a.alwaysAddressMapi == b.alwaysAddressMapi;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ProgramSettings loaded = {};
    LoadSettingsText(text, kScreen, loaded);
    for (const char* field :
         {loaded.userName, loaded.mailFrom, loaded.replyTo, loaded.serverName}) {
        FUZZ_CHECK(std::memchr(field, '\0', kNameLength) != nullptr);
    }
    FUZZ_CHECK(std::memchr(loaded.attachDir, '\0', kPathLength) != nullptr);
    FUZZ_CHECK(loaded.x >= 0 && loaded.x <= kScreen.width && loaded.y >= 0 &&
               loaded.y <= kScreen.height);
    FUZZ_CHECK(loaded.width >= 50 && loaded.width <= kScreen.width && loaded.height >= 50 &&
               loaded.height <= kScreen.height);

    const std::string file = FormatSettingsText(loaded);
    ProgramSettings again = {};
    FUZZ_CHECK(ParseSettingsText(file, again) == SettingsLayout::Keyed);
    FUZZ_CHECK(SameSettings(loaded, again));
    FUZZ_CHECK(FormatSettingsText(again) == file);
    return 0;
}
