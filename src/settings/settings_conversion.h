#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/gateway_settings.h"
#include "settings/option_tables.h"
#include "settings/settings_file.h"

namespace rq508 {

// Conversions between the settings a gateway holds and the texts a person types or a settings
// file stores.

// The file record that shows these settings, with the texts the window would show.
SettingsFileRecord RecordFromSettings(const GatewaySettings& settings);

// A value read from a text, or the reason it was refused, naming the valid values.
template <typename T>
struct Parsed {
    std::optional<T> value;
    std::string error;
};

// The wire value of the entry whose display text is exactly the text.
Parsed<uint32_t> ParseOptionText(const OptionTable& table, std::string_view what,
                                 std::string_view text);
// A whole number from 1 to 99, nothing else around it.
Parsed<uint8_t> ParseSlaveAddress(std::string_view text);
// "A", "B", "CAN2.0 A" or "CAN2.0 B".
Parsed<uint8_t> ParseCanProtocol(std::string_view text);

// The settings a file record names, refused when a text is no entry of its table.
Parsed<GatewaySettings> SettingsFromRecord(const SettingsFileRecord& record);

// "300, 600, 1200" for a table, as a message lists the valid values.
std::string ValidTexts(const OptionTable& table);

// "19200 None 1 125K CAN2.0 A": the five settings in one line as the window shows them.
std::string SettingsSummary(const GatewaySettings& settings);

}  // namespace rq508
