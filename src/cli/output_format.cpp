#include "output_format.h"

#include <algorithm>

#include "settings/option_tables.h"
#include "settings/settings_conversion.h"
#include "settings/settings_file.h"

namespace rq508 {
namespace {

std::string Shown(const std::string& port) {
    return port.empty() ? "the empty port name" : port;
}

}  // namespace

std::string SettingsText(const GatewaySettings& settings) {
    std::string text = FormatSettingsText(RecordFromSettings(settings));
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::string SettingsJson(const GatewaySettings& settings) {
    return "{\"baudRate\": " + std::to_string(settings.baudRate) +
           ", \"checkBit\": " + std::to_string(settings.checkBit) +
           ", \"slaveAddress\": " + std::to_string(settings.slaveAddress) +
           ", \"canBaudRate\": " + std::to_string(settings.canBaudRate) +
           ", \"canProtocol\": " + std::to_string(settings.canProtocol) + "}\n";
}

std::vector<std::string> SettingDifferences(const GatewaySettings& sent,
                                            const GatewaySettings& held) {
    const SettingsFileRecord a = RecordFromSettings(sent);
    const SettingsFileRecord b = RecordFromSettings(held);
    // Compared by wire value, shown as the window shows them.
    const struct {
        const char* name;
        bool differs;
        std::string sentText;
        std::string heldText;
    } fields[] = {
        {"baud rate", sent.baudRate != held.baudRate, a.baudRateText, b.baudRateText},
        {"check bit", sent.checkBit != held.checkBit,
         a.checkBitText + " (" + std::to_string(sent.checkBit) + ")",
         b.checkBitText + " (" + std::to_string(held.checkBit) + ")"},
        {"slave address", sent.slaveAddress != held.slaveAddress, a.slaveAddressText,
         b.slaveAddressText},
        {"CAN baud rate", sent.canBaudRate != held.canBaudRate, a.canBaudRateText,
         b.canBaudRateText},
        {"CAN protocol", sent.canProtocol != held.canProtocol,
         std::string(CanProtocolText(sent.canProtocol)) + " (" + std::to_string(sent.canProtocol) +
             ")",
         std::string(CanProtocolText(held.canProtocol)) + " (" + std::to_string(held.canProtocol) +
             ")"},
    };
    std::vector<std::string> lines;
    for (const auto& field : fields) {
        if (field.differs) {
            lines.push_back(std::string(field.name) + ": sent " + field.sentText +
                            ", the gateway holds " + field.heldText);
        }
    }
    return lines;
}

std::string OpenFailureAdvice(const std::string& port, const PortError& error) {
    const std::string reason = error.osText.empty() ? "" : " (" + error.osText + ")";
    switch (error.kind) {
        case PortFailureKind::NotFound:
            return "There is no port " + Shown(port) + reason +
                   ". rq508 ports lists the serial ports found.";
        case PortFailureKind::PermissionDenied:
            if (!error.ownerHint.empty()) {
                return "You may not use " + port + reason + ". It belongs to the group " +
                       error.ownerHint + ": join it with\n  sudo usermod -aG " + error.ownerHint +
                       " $USER\nthen log out and in again.";
            }
            return "You may not use " + port + reason + ".";
        case PortFailureKind::Busy:
            return port + " is in use" + reason +
                   (error.ownerHint.empty() ? " by another program" : " by " + error.ownerHint) +
                   ". Close that program and try again.";
        case PortFailureKind::NotATerminal:
            return port + " is not a serial port" + reason + ".";
        case PortFailureKind::None:
        case PortFailureKind::Other:
            break;
    }
    return "Cannot open " + Shown(port) + reason + ".";
}

std::string LineSettingsAdvice(const std::string& port) {
    return port + " did not take the line settings 19200 8N1: it may not be a serial port.";
}

}  // namespace rq508
