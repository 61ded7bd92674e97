#include "command_line.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "settings/settings_conversion.h"

namespace rq508 {
namespace {

struct CommandInfo {
    Command command;
    std::string_view name;
    std::vector<std::string_view> options;  // beyond --help
};

const std::vector<std::string_view> kSettingOptions = {"--baud", "--check-bit", "--address",
                                                       "--can-baud", "--can-protocol"};

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands = [] {
        std::vector<std::string_view> withSettings = {"--port", "--trace", "--file"};
        withSettings.insert(withSettings.end(), kSettingOptions.begin(), kSettingOptions.end());
        return std::vector<CommandInfo>{
            {Command::Ports, "ports", {}},
            {Command::Upload, "upload", {"--port", "--trace", "--json"}},
            {Command::Download, "download", withSettings},
            {Command::Verify, "verify", withSettings},
            {Command::Save, "save", {"--port", "--trace", "--file"}},
            {Command::Load, "load", {"--port", "--trace", "--file"}},
        };
    }();
    return commands;
}

const CommandInfo* FindCommand(std::string_view name) {
    for (const CommandInfo& info : Commands()) {
        if (info.name == name) {
            return &info;
        }
    }
    return nullptr;
}

bool TakesValue(std::string_view option) {
    return option != "--trace" && option != "--json" && option != "--help";
}

ParsedCommandLine Failure(std::string error) {
    return {std::nullopt, false, std::nullopt, error};
}

// Checks one setting option's text against its table and stores its wire value.
std::string ChooseSetting(SettingChoices& choices, std::string_view option,
                          const std::string& text) {
    if (option == "--baud") {
        const Parsed<uint32_t> parsed = ParseOptionText(BaudRateOptions, "baud rate", text);
        choices.baudRate = parsed.value;
        return parsed.error;
    }
    if (option == "--check-bit") {
        const Parsed<uint32_t> parsed = ParseOptionText(CheckBitOptions, "check bit", text);
        if (parsed.value) {
            choices.checkBit = static_cast<uint8_t>(*parsed.value);
        }
        return parsed.error;
    }
    if (option == "--can-baud") {
        const Parsed<uint32_t> parsed = ParseOptionText(CanBaudRateOptions, "CAN baud rate", text);
        if (parsed.value) {
            choices.canBaudRate = static_cast<uint16_t>(*parsed.value);
        }
        return parsed.error;
    }
    if (option == "--address") {
        const Parsed<uint8_t> parsed = ParseSlaveAddress(text);
        choices.slaveAddress = parsed.value;
        return parsed.error;
    }
    const Parsed<uint8_t> parsed = ParseCanProtocol(text);
    choices.canProtocol = parsed.value;
    return parsed.error;
}

}  // namespace

std::string CommandName(Command command) {
    for (const CommandInfo& info : Commands()) {
        if (info.command == command) {
            return std::string(info.name);
        }
    }
    return {};
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    const CommandInfo* command = nullptr;
    bool help = false;
    bool helpWord = false;
    std::vector<std::pair<std::string, std::optional<std::string>>> options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (!word.starts_with("-")) {
            if (command == nullptr && !helpWord && word == "help") {
                helpWord = true;
                continue;
            }
            if (command != nullptr) {
                return Failure("unexpected \"" + word + "\" after the command " +
                               std::string(command->name));
            }
            command = FindCommand(word);
            if (command == nullptr) {
                return Failure("unknown command \"" + word +
                               "\": use ports, upload, download, verify, save or load");
            }
            continue;
        }
        std::string name = word;
        std::optional<std::string> value;
        if (const size_t equals = word.find('='); equals != std::string::npos) {
            name = word.substr(0, equals);
            value = word.substr(equals + 1);
        }
        if (name == "--help" || name == "-h") {
            help = true;
            continue;
        }
        if (TakesValue(name) && !value) {
            if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("--")) {
                return Failure(name + " needs a value");
            }
            value = arguments[++i];
        }
        options.emplace_back(name, value);
    }
    if (help || helpWord) {
        return {std::nullopt,
                true,
                command != nullptr ? std::optional(command->command) : std::nullopt,
                {}};
    }
    if (command == nullptr) {
        return Failure("no command given: use ports, upload, download, verify, save or load");
    }

    CommandLine line;
    line.command = command->command;
    std::set<std::string> seen;
    for (const auto& [name, value] : options) {
        if (std::find(command->options.begin(), command->options.end(), name) ==
            command->options.end()) {
            return Failure(name + " is not an option of " + std::string(command->name) +
                           " (see rq508 " + std::string(command->name) + " --help)");
        }
        if (!TakesValue(name) && value) {
            return Failure(name + " takes no value");
        }
        if (!seen.insert(name).second) {
            return Failure(name + " is given twice");
        }
        if (name == "--port") {
            line.port = *value;
        } else if (name == "--trace") {
            line.trace = true;
        } else if (name == "--json") {
            line.json = true;
        } else if (name == "--file") {
            if (value->empty()) {
                return Failure("--file needs a path");
            }
            line.file = *value;
        } else if (std::string error = ChooseSetting(line.choices, name, *value); !error.empty()) {
            return Failure(error);
        }
    }
    const bool needsPort = line.command != Command::Ports;
    if (needsPort && !seen.contains("--port")) {
        return Failure(std::string(command->name) + " needs --port NAME (rq508 ports lists them)");
    }
    const bool needsFile = line.command == Command::Save || line.command == Command::Load;
    if (needsFile && !line.file) {
        return Failure(std::string(command->name) + " needs --file PATH");
    }
    return {line, false, std::nullopt, {}};
}

}  // namespace rq508
