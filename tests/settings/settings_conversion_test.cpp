// Settings as texts and back: the file record, the one-line summary, and the typed texts that
// are refused with the valid values named.

#include "settings/settings_conversion.h"

#include <gtest/gtest.h>

#include <string>

namespace rq508 {
namespace {

struct RecordCase {
    std::string name;
    GatewaySettings settings;
    SettingsFileRecord record;
    std::string summary;
};

class SettingsAsRecord : public testing::TestWithParam<RecordCase> {};

TEST_P(SettingsAsRecord, GivesTheShownTextsAndReadsBack) {
    const RecordCase& row = GetParam();
    EXPECT_EQ(RecordFromSettings(row.settings), row.record);
    EXPECT_EQ(SettingsSummary(row.settings), row.summary);
    const Parsed<GatewaySettings> parsed = SettingsFromRecord(row.record);
    EXPECT_EQ(parsed.value, row.settings);
    EXPECT_EQ(parsed.error, "");
}

INSTANTIATE_TEST_SUITE_P(Examples, SettingsAsRecord,
                         testing::Values(RecordCase{"Initial",
                                                    {19200, 0, 1, 125, 0},
                                                    {"19200", "None", "125K", 0, "1"},
                                                    "19200 None 1 125K CAN2.0 A"},
                                         RecordCase{"HighestOfEach",
                                                    {115200, 2, 99, 1000, 1},
                                                    {"115200", "Even", "1M", 1, "99"},
                                                    "115200 Even 99 1M CAN2.0 B"},
                                         RecordCase{"FractionalCanBaudRate",
                                                    {300, 4, 42, 62, 1},
                                                    {"300", "Space", "62.5K", 1, "42"},
                                                    "300 Space 42 62.5K CAN2.0 B"}),
                         [](const auto& row) { return row.param.name; });

TEST(SettingsAsRecord, ValuesOutsideTheTablesShowAsTheWindowWould) {
    // An unknown check-bit code shows as None and any protocol but 0 as CAN2.0 B.
    EXPECT_EQ(RecordFromSettings({4800, 7, 150, 1001, 2}),
              (SettingsFileRecord{"4800", "None", "1001K", 1, "150"}));
    EXPECT_EQ(SettingsSummary({4800, 7, 150, 1001, 2}), "4800 None 150 1001K CAN2.0 B");
}

struct RefusedCase {
    std::string name;
    SettingsFileRecord record;
    std::string error;
};

class RecordRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(RecordRefused, NamesTheFirstWrongTextAndTheValidValues) {
    const Parsed<GatewaySettings> parsed = SettingsFromRecord(GetParam().record);
    EXPECT_FALSE(parsed.value);
    EXPECT_EQ(parsed.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordRefused,
    testing::Values(
        RefusedCase{"BaudRateNotInTheList",
                    {"4800", "None", "125K", 0, "1"},
                    "baud rate \"4800\" is not one of the valid values: 300, 600, 1200, 2400, "
                    "9600, 19200, 38400, 57600, 115200"},
        RefusedCase{"CheckBitInLowerCase",
                    {"19200", "none", "125K", 0, "1"},
                    "check bit \"none\" is not one of the valid values: None, Odd, Even, Mark, "
                    "Space"},
        RefusedCase{"CanBaudRateBeforeAddress",
                    {"19200", "None", "125k", 0, "0"},
                    "CAN baud rate \"125k\" is not one of the valid values: 1M, 500K, 250K, 125K, "
                    "100K, 62.5K, 31.25K, 20K, 10K"},
        RefusedCase{"EmptyAddress",
                    {"19200", "None", "125K", 0, ""},
                    "slave address \"\" is not a whole number from 1 to 99"}),
    [](const auto& row) { return row.param.name; });

// A typed slave address or CAN protocol and the wire value it gives, or none when refused.
struct TypedCase {
    std::string name;
    Parsed<uint8_t> (*parse)(std::string_view);
    std::string text;
    std::optional<uint8_t> value;
};

class TypedText : public testing::TestWithParam<TypedCase> {};

TEST_P(TypedText, GivesTheWireValueOrSaysWhyNot) {
    const Parsed<uint8_t> parsed = GetParam().parse(GetParam().text);
    EXPECT_EQ(parsed.value, GetParam().value);
    EXPECT_EQ(parsed.error.empty(), GetParam().value.has_value()) << parsed.error;
}

// A slave address is a whole number from 1 to 99 and nothing else; a protocol is its letter or
// its shown text.
INSTANTIATE_TEST_SUITE_P(
    Texts, TypedText,
    testing::Values(TypedCase{"AddressLowest", ParseSlaveAddress, "1", 1},
                    TypedCase{"AddressHighest", ParseSlaveAddress, "99", 99},
                    TypedCase{"AddressLeadingZero", ParseSlaveAddress, "07", 7},
                    TypedCase{"AddressZero", ParseSlaveAddress, "0", std::nullopt},
                    TypedCase{"AddressHundred", ParseSlaveAddress, "100", std::nullopt},
                    TypedCase{"AddressThreeDigits", ParseSlaveAddress, "001", std::nullopt},
                    TypedCase{"AddressSign", ParseSlaveAddress, "+5", std::nullopt},
                    TypedCase{"AddressLeadingSpace", ParseSlaveAddress, " 5", std::nullopt},
                    TypedCase{"AddressLetters", ParseSlaveAddress, "1a", std::nullopt},
                    TypedCase{"ProtocolLetterA", ParseCanProtocol, "A", 0},
                    TypedCase{"ProtocolLetterB", ParseCanProtocol, "B", 1},
                    TypedCase{"ProtocolShownA", ParseCanProtocol, "CAN2.0 A", 0},
                    TypedCase{"ProtocolShownB", ParseCanProtocol, "CAN2.0 B", 1},
                    TypedCase{"ProtocolLowerCase", ParseCanProtocol, "a", std::nullopt},
                    TypedCase{"ProtocolC", ParseCanProtocol, "CAN2.0 C", std::nullopt},
                    TypedCase{"ProtocolEmpty", ParseCanProtocol, "", std::nullopt}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace rq508
