#include "compose/sender_line.h"

std::string FormatSenderLine(const ProgramSettings& settings) {
    if (settings.useMapi == 1) {
        return "send via MAPI";
    }
    const char* address = settings.replyTo[0] ? settings.replyTo : settings.mailFrom;
    std::string line = std::string(settings.userName) + " <" + address + ">";
    if (line.size() > 511) {
        line.resize(511);
    }
    return line;
}
