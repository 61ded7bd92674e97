#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rq508 {

enum class Command { Ports, Upload, Download, Verify, Save, Load };

// The settings given as options, already checked against their tables; each one left out is
// none and is taken from elsewhere (a file, or the gateway itself).
struct SettingChoices {
    std::optional<uint32_t> baudRate;
    std::optional<uint8_t> checkBit;
    std::optional<uint8_t> slaveAddress;
    std::optional<uint16_t> canBaudRate;
    std::optional<uint8_t> canProtocol;

    bool IsComplete() const {
        return baudRate && checkBit && slaveAddress && canBaudRate && canProtocol;
    }
};

struct CommandLine {
    Command command = Command::Ports;
    std::string port;
    bool trace = false;
    bool json = false;
    std::optional<std::filesystem::path> file;
    SettingChoices choices;
};

struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;  // none for help and for errors
    bool helpRequested = false;
    std::optional<Command> helpTopic;  // the command whose help was asked for, if any
    std::string error;                 // what is wrong, for a person to read
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string CommandName(Command command);

}  // namespace rq508
