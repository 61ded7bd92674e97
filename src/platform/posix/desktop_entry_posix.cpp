#include "platform/posix/desktop_entry_posix.h"

namespace rq508 {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string UnescapeValue(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's':
                text += ' ';
                break;
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'r':
                text += '\r';
                break;
            case '\\':
                text += '\\';
                break;
            default:  // not an escape of the format: keep both characters
                text += '\\';
                text += value[i];
                break;
        }
    }
    return text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

}  // namespace

std::optional<std::string> ReadDesktopEntryExec(std::istream& entry) {
    bool inMainGroup = false;
    std::string line;
    while (std::getline(entry, line)) {
        const std::string_view text = TrimBlanks(line);
        if (text.empty() || text.front() == '#') {
            continue;
        }
        if (text.front() == '[') {
            inMainGroup = text == "[Desktop Entry]";
            continue;
        }
        const auto equals = text.find('=');
        if (!inMainGroup || equals == std::string_view::npos) {
            continue;
        }
        if (TrimBlanks(text.substr(0, equals)) == "Exec") {
            return UnescapeValue(TrimBlanks(text.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

std::string ExecLineToCommand(std::string_view exec) {
    std::string command;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] != '%' || i + 1 == exec.size()) {
            command += exec[i];
            continue;
        }
        const char code = exec[++i];
        if (code == '%') {
            command += '%';
        } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
            command += "%1";
        }
    }
    return command;
}

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < commandLine.size()) {
                current += commandLine[++i];
            } else {
                current += c;
            }
        } else if (IsBlank(c)) {
            if (inArgument) {
                arguments.push_back(current);
                current.clear();
                inArgument = false;
            }
        } else {
            inArgument = true;
            if (c == '"') {
                quoted = true;
            } else {
                current += c;
            }
        }
    }
    if (inArgument) {
        arguments.push_back(current);
    }
    return arguments;
}

bool IsPlainDesktopFileId(std::string_view id) {
    constexpr std::string_view kSuffix = ".desktop";
    return id.size() > kSuffix.size() && id.substr(id.size() - kSuffix.size()) == kSuffix &&
           id.find('/') == std::string_view::npos && id.front() != '.';
}

}  // namespace rq508
