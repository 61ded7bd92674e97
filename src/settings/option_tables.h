#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rq508 {

struct OptionEntry {
    std::string_view text;  // what the user sees in the list
    uint32_t value;         // what travels on the wire
};

// A fixed list of choices in the order the user sees them. The initial index is what the
// window selects at start; the fallback index is used when a list has no selection.
struct OptionTable {
    std::span<const OptionEntry> entries;
    int initialIndex;
    int fallbackIndex;
};

// A zero-based position in a list, or none when the list has no selection.
using ListPosition = std::optional<int>;

extern const OptionTable BaudRateOptions;
extern const OptionTable CheckBitOptions;
extern const OptionTable CanBaudRateOptions;

// Value and text of the entry at the position; of the fallback entry when the position is none
// (or outside the table).
uint32_t OptionValue(const OptionTable& table, ListPosition position);
std::string_view OptionText(const OptionTable& table, ListPosition position);

// Index of the first entry whose text equals the text exactly (byte for byte), or none.
ListPosition FindOption(const OptionTable& table, std::string_view text);

// The leading whole number of a text, as typed into the slave-address box: leading white space
// skipped, one optional sign, then decimal digits; no digits give 0. Saturates at the 64-bit
// limits instead of wrapping, so a huge number stays huge.
int64_t LeadingNumber(std::string_view text);

// Wire value of the slave-address text: the low 8 bits of its leading whole number, exactly as
// a wrapping accumulator would give them (300 gives 44, -1 gives 255).
uint8_t SlaveAddressValue(std::string_view text);

// 0 when "CAN2.0 A" is chosen, 1 otherwise (neither button chosen included).
uint8_t CanProtocolValue(bool canAChosen);

std::string BaudRateText(uint32_t baudRate);
int CheckBitIndex(uint8_t checkBit);  // codes 1..4 keep their index; every other code gives 0
std::string SlaveAddressText(uint8_t slaveAddress);
std::string CanBaudRateText(uint16_t canBaudRate);  // "1M", "62.5K", "31.25K", else "%dK"

// The text of the CAN protocol as the settings file and the radio buttons show it.
std::string_view CanProtocolText(uint8_t canProtocol);  // "CAN2.0 A" for 0, "CAN2.0 B" otherwise

// The slave-address box's text after it loses the focus: a leading number below 1 becomes "1",
// above 99 becomes "99"; otherwise the text stays exactly as typed.
std::string CorrectedSlaveAddressText(std::string_view text);

}  // namespace rq508
