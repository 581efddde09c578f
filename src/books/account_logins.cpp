#include "books/account_logins.h"

#include <cstdlib>
#include <vector>

#include "mail/smtp_account.h"

namespace {

constexpr size_t kFieldCount = 6;

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

// The file's lines without their line ends; empty lines are dropped.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
        start = end + 1;
    }
    return lines;
}

bool IsKey(const std::vector<std::string>& fields, const std::string& address,
           const std::string& server) {
    return fields.size() == kFieldCount && fields[0] == address && fields[1] == server;
}

bool FitsInALine(const std::string& text) {
    return text.find_first_of("\t\r\n") == std::string::npos;
}

} // namespace

std::string RecordAccountLogin(const std::string& fileText, const ProgramSettings& settings) {
    const std::string address = settings.mailFrom;
    const std::string server = settings.serverName;
    SmtpLogin login;
    TakeSmtpLogin(settings, login);
    if (address.empty() || server.empty() || !FitsInALine(address) || !FitsInALine(server) ||
        !FitsInALine(login.user) || !FitsInALine(login.protectedPassword)) {
        return fileText;
    }
    const std::string record = address + "\t" + server + "\t" + std::to_string(settings.smtpPort) +
                               "\t" + std::to_string(login.security) + "\t" + login.user + "\t" +
                               login.protectedPassword;
    std::string text;
    for (const std::string& line : Lines(fileText)) {
        if (!IsKey(SplitFields(line), address, server)) {
            text += line + "\r\n";
        }
    }
    return text + record + "\r\n";
}

bool ApplyAccountLogin(const std::string& fileText, const char* address, const char* server,
                       ProgramSettings& settings) {
    for (const std::string& line : Lines(fileText)) {
        const std::vector<std::string> fields = SplitFields(line);
        if (!IsKey(fields, address, server)) {
            continue;
        }
        const int port = std::atoi(fields[2].c_str());
        if (port > 0 && port <= 65535) {
            settings.smtpPort = port;
        }
        SmtpLogin login;
        login.security = std::atoi(fields[3].c_str());
        CopyField(login.user, sizeof login.user, fields[4].c_str());
        CopyField(login.protectedPassword, sizeof login.protectedPassword, fields[5].c_str());
        ApplySmtpLogin(settings, login);
        return true;
    }
    SmtpLogin none = {};
    ApplySmtpLogin(settings, none);
    return false;
}
