// acclogin.ini as any bytes: applied to settings for an account, and recorded over.
#include <cstddef>
#include <cstdint>
#include <string>

#include "books/account_logins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ProgramSettings settings = {};
    CopyField(settings.mailFrom, sizeof settings.mailFrom, "ann@example.org");
    CopyField(settings.serverName, sizeof settings.serverName, "smtp.example.org");
    ApplyAccountLogin(text, "ann@example.org", "smtp.example.org", settings);
    RecordAccountLogin(text, settings);
    return 0;
}
