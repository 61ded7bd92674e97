#include "settings_conversion.h"

namespace rq508 {
namespace {

constexpr uint8_t kLowestSlaveAddress = 1;
constexpr uint8_t kHighestSlaveAddress = 99;

std::string CheckBitText(uint8_t checkBit) {
    return std::string(OptionText(CheckBitOptions, CheckBitIndex(checkBit)));
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace

SettingsFileRecord RecordFromSettings(const GatewaySettings& settings) {
    SettingsFileRecord record;
    record.baudRateText = BaudRateText(settings.baudRate);
    record.checkBitText = CheckBitText(settings.checkBit);
    record.canBaudRateText = CanBaudRateText(settings.canBaudRate);
    record.canProtocol = settings.canProtocol == 0 ? 0 : 1;
    record.slaveAddressText = SlaveAddressText(settings.slaveAddress);
    return record;
}

std::string ValidTexts(const OptionTable& table) {
    std::string list;
    for (const OptionEntry& entry : table.entries) {
        if (!list.empty()) {
            list += ", ";
        }
        list += entry.text;
    }
    return list;
}

Parsed<uint32_t> ParseOptionText(const OptionTable& table, std::string_view what,
                                 std::string_view text) {
    const ListPosition position = FindOption(table, text);
    if (!position) {
        return {std::nullopt, std::string(what) + " " + Quoted(text) +
                                  " is not one of the valid values: " + ValidTexts(table)};
    }
    return {OptionValue(table, position), {}};
}

Parsed<uint8_t> ParseSlaveAddress(std::string_view text) {
    unsigned number = 0;
    bool valid = !text.empty() && text.size() <= 2;
    for (const char c : text) {
        valid = valid && c >= '0' && c <= '9';
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    if (!valid || number < kLowestSlaveAddress || number > kHighestSlaveAddress) {
        return {std::nullopt,
                "slave address " + Quoted(text) + " is not a whole number from 1 to 99"};
    }
    return {static_cast<uint8_t>(number), {}};
}

Parsed<uint8_t> ParseCanProtocol(std::string_view text) {
    if (text == "A" || text == CanProtocolText(0)) {
        return {0, {}};
    }
    if (text == "B" || text == CanProtocolText(1)) {
        return {1, {}};
    }
    return {std::nullopt, "CAN protocol " + Quoted(text) +
                              " is not one of the valid values: A, B (or CAN2.0 A, CAN2.0 B)"};
}

Parsed<GatewaySettings> SettingsFromRecord(const SettingsFileRecord& record) {
    const Parsed<uint32_t> baudRate =
        ParseOptionText(BaudRateOptions, "baud rate", record.baudRateText);
    const Parsed<uint32_t> checkBit =
        ParseOptionText(CheckBitOptions, "check bit", record.checkBitText);
    const Parsed<uint32_t> canBaudRate =
        ParseOptionText(CanBaudRateOptions, "CAN baud rate", record.canBaudRateText);
    const Parsed<uint8_t> slaveAddress = ParseSlaveAddress(record.slaveAddressText);
    for (const std::string* error :
         {&baudRate.error, &checkBit.error, &canBaudRate.error, &slaveAddress.error}) {
        if (!error->empty()) {
            return {std::nullopt, *error};
        }
    }
    GatewaySettings settings;
    settings.baudRate = *baudRate.value;
    settings.checkBit = static_cast<uint8_t>(*checkBit.value);
    settings.slaveAddress = *slaveAddress.value;
    settings.canBaudRate = static_cast<uint16_t>(*canBaudRate.value);
    settings.canProtocol = record.canProtocol == 0 ? 0 : 1;
    return {settings, {}};
}

std::string SettingsSummary(const GatewaySettings& settings) {
    return BaudRateText(settings.baudRate) + " " + CheckBitText(settings.checkBit) + " " +
           SlaveAddressText(settings.slaveAddress) + " " + CanBaudRateText(settings.canBaudRate) +
           " " + std::string(CanProtocolText(settings.canProtocol));
}

}  // namespace rq508
