#include "autoconfig/eudora_ini.h"

#include "autoconfig/source_lines.h"

namespace {

// Sets target to the text after key when the line contains it.
bool TakeValue(std::string_view line, std::string_view key, std::string& target) {
    const size_t at = line.find(key);
    if (at == std::string_view::npos) {
        return false;
    }
    target.assign(line.substr(at + key.size()));
    return true;
}

} // namespace

EudoraSettings ReadEudoraIni(std::string_view text) {
    EudoraSettings settings;
    ForEachSourceLine(text, [&](std::string_view line) {
        TakeValue(line, "SMTPServer=", settings.server) ||
            TakeValue(line, "ReturnAddress=", settings.address) ||
            TakeValue(line, "RealName=", settings.name);
    });
    return settings;
}
