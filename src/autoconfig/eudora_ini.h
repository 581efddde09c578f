// The sender settings in an eudora.ini file: "SMTPServer=", "ReturnAddress=" and "RealName=".
#pragma once

#include <string>
#include <string_view>

struct EudoraSettings {
    std::string server;
    std::string address;
    std::string name;
};

// A line that contains one of the keys gives the text after the key; a later line overrides an
// earlier one. Lines of any length are read whole; the candidate table cuts long values.
EudoraSettings ReadEudoraIni(std::string_view text);
