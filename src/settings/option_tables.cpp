#include "option_tables.h"

#include <limits>

namespace rq508 {
namespace {

constexpr OptionEntry kBaudRates[] = {
    {"300", 300},     {"600", 600},     {"1200", 1200},   {"2400", 2400},     {"9600", 9600},
    {"19200", 19200}, {"38400", 38400}, {"57600", 57600}, {"115200", 115200},
};

// The check-bit texts are the numbered texts 106 to 110; a test holds the two together.
constexpr OptionEntry kCheckBits[] = {
    {"None", 0}, {"Odd", 1}, {"Even", 2}, {"Mark", 3}, {"Space", 4},
};

// The wire value is the whole number the text starts with, in kbit/s: 62.5K travels as 62.
constexpr OptionEntry kCanBaudRates[] = {
    {"1M", 1000},  {"500K", 500},  {"250K", 250}, {"125K", 125}, {"100K", 100},
    {"62.5K", 62}, {"31.25K", 31}, {"20K", 20},   {"10K", 10},
};

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The sign and the decimal digits of the whole number a text starts with: leading white space
// skipped, one optional sign, then digits up to the first other character.
struct SignedDigits {
    bool negative = false;
    std::string_view digits;
};

SignedDigits LeadingDigits(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i])) {
        ++i;
    }
    SignedDigits number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    size_t end = i;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    number.digits = text.substr(i, end - i);
    return number;
}

const OptionEntry& EntryAt(const OptionTable& table, ListPosition position) {
    const int count = static_cast<int>(table.entries.size());
    const int index =
        position && *position >= 0 && *position < count ? *position : table.fallbackIndex;
    return table.entries[static_cast<size_t>(index)];
}

}  // namespace

const OptionTable BaudRateOptions{kBaudRates, 5, 5};
const OptionTable CheckBitOptions{kCheckBits, 0, 1};
const OptionTable CanBaudRateOptions{kCanBaudRates, 3, 4};

uint32_t OptionValue(const OptionTable& table, ListPosition position) {
    return EntryAt(table, position).value;
}

std::string_view OptionText(const OptionTable& table, ListPosition position) {
    return EntryAt(table, position).text;
}

ListPosition FindOption(const OptionTable& table, std::string_view text) {
    for (size_t i = 0; i < table.entries.size(); ++i) {
        if (table.entries[i].text == text) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

int64_t LeadingNumber(std::string_view text) {
    const SignedDigits number = LeadingDigits(text);
    constexpr int64_t kLimit = std::numeric_limits<int64_t>::max();
    int64_t magnitude = 0;
    for (const char c : number.digits) {
        const int digit = c - '0';
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    return number.negative ? -magnitude : magnitude;
}

uint8_t SlaveAddressValue(std::string_view text) {
    // Only the low byte of each step reaches the low byte of the result, so a number of any
    // length gives the byte a wrapping accumulator would; negative numbers in two's complement.
    const SignedDigits number = LeadingDigits(text);
    uint8_t lowByte = 0;
    for (const char c : number.digits) {
        lowByte = static_cast<uint8_t>(lowByte * 10 + (c - '0'));
    }
    return number.negative ? static_cast<uint8_t>(-lowByte) : lowByte;
}

uint8_t CanProtocolValue(bool canAChosen) {
    return canAChosen ? 0 : 1;
}

std::string BaudRateText(uint32_t baudRate) {
    return std::to_string(baudRate);
}

int CheckBitIndex(uint8_t checkBit) {
    return checkBit >= 1 && checkBit <= 4 ? checkBit : 0;
}

std::string SlaveAddressText(uint8_t slaveAddress) {
    return std::to_string(slaveAddress);
}

std::string CanBaudRateText(uint16_t canBaudRate) {
    switch (canBaudRate) {
        case 1000:
            return "1M";
        case 62:
            return "62.5K";
        case 31:
            return "31.25K";
        default:
            return std::to_string(canBaudRate) + "K";
    }
}

std::string_view CanProtocolText(uint8_t canProtocol) {
    return canProtocol == 0 ? "CAN2.0 A" : "CAN2.0 B";
}

std::string CorrectedSlaveAddressText(std::string_view text) {
    const int64_t number = LeadingNumber(text);
    if (number < 1) {
        return "1";
    }
    if (number > 99) {
        return "99";
    }
    return std::string{text};
}

}  // namespace rq508
