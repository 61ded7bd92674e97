#include "settings/option_tables.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace rq508 {
namespace {

// One entry of a table: where it stands, its text, its wire value, and the display function
// that turns the wire value back into text.
struct RoundTripCase {
    std::string name;
    const OptionTable* table;
    int index;
    std::string text;
    uint32_t value;
    std::function<std::string(uint32_t)> display;
};

std::string ShownBaudRate(uint32_t value) {
    return BaudRateText(value);
}
std::string ShownCheckBit(uint32_t value) {
    return std::string{OptionText(CheckBitOptions, CheckBitIndex(static_cast<uint8_t>(value)))};
}
std::string ShownCanBaudRate(uint32_t value) {
    return CanBaudRateText(static_cast<uint16_t>(value));
}

class OptionRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(OptionRoundTrip, TextGivesValueAndValueGivesTextBack) {
    const RoundTripCase& row = GetParam();
    const ListPosition found = FindOption(*row.table, row.text);
    ASSERT_EQ(found, row.index);
    EXPECT_EQ(OptionText(*row.table, found), row.text);
    EXPECT_EQ(OptionValue(*row.table, found), row.value);
    EXPECT_EQ(row.display(row.value), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEntry, OptionRoundTrip,
    testing::Values(
        RoundTripCase{"Baud300", &BaudRateOptions, 0, "300", 300, ShownBaudRate},
        RoundTripCase{"Baud600", &BaudRateOptions, 1, "600", 600, ShownBaudRate},
        RoundTripCase{"Baud1200", &BaudRateOptions, 2, "1200", 1200, ShownBaudRate},
        RoundTripCase{"Baud2400", &BaudRateOptions, 3, "2400", 2400, ShownBaudRate},
        RoundTripCase{"Baud9600", &BaudRateOptions, 4, "9600", 9600, ShownBaudRate},
        RoundTripCase{"Baud19200", &BaudRateOptions, 5, "19200", 19200, ShownBaudRate},
        RoundTripCase{"Baud38400", &BaudRateOptions, 6, "38400", 38400, ShownBaudRate},
        RoundTripCase{"Baud57600", &BaudRateOptions, 7, "57600", 57600, ShownBaudRate},
        RoundTripCase{"Baud115200", &BaudRateOptions, 8, "115200", 115200, ShownBaudRate},
        RoundTripCase{"CheckNone", &CheckBitOptions, 0, "None", 0, ShownCheckBit},
        RoundTripCase{"CheckOdd", &CheckBitOptions, 1, "Odd", 1, ShownCheckBit},
        RoundTripCase{"CheckEven", &CheckBitOptions, 2, "Even", 2, ShownCheckBit},
        RoundTripCase{"CheckMark", &CheckBitOptions, 3, "Mark", 3, ShownCheckBit},
        RoundTripCase{"CheckSpace", &CheckBitOptions, 4, "Space", 4, ShownCheckBit},
        RoundTripCase{"Can1M", &CanBaudRateOptions, 0, "1M", 1000, ShownCanBaudRate},
        RoundTripCase{"Can500K", &CanBaudRateOptions, 1, "500K", 500, ShownCanBaudRate},
        RoundTripCase{"Can250K", &CanBaudRateOptions, 2, "250K", 250, ShownCanBaudRate},
        RoundTripCase{"Can125K", &CanBaudRateOptions, 3, "125K", 125, ShownCanBaudRate},
        RoundTripCase{"Can100K", &CanBaudRateOptions, 4, "100K", 100, ShownCanBaudRate},
        RoundTripCase{"Can62_5K", &CanBaudRateOptions, 5, "62.5K", 62, ShownCanBaudRate},
        RoundTripCase{"Can31_25K", &CanBaudRateOptions, 6, "31.25K", 31, ShownCanBaudRate},
        RoundTripCase{"Can20K", &CanBaudRateOptions, 7, "20K", 20, ShownCanBaudRate},
        RoundTripCase{"Can10K", &CanBaudRateOptions, 8, "10K", 10, ShownCanBaudRate}),
    [](const auto& row) { return row.param.name; });

TEST(OptionTables, HoldExactlyTheirEntriesWithInitialAndFallbackIndexes) {
    EXPECT_EQ(BaudRateOptions.entries.size(), 9u);
    EXPECT_EQ(CheckBitOptions.entries.size(), 5u);
    EXPECT_EQ(CanBaudRateOptions.entries.size(), 9u);

    EXPECT_EQ(OptionText(BaudRateOptions, BaudRateOptions.initialIndex), "19200");
    EXPECT_EQ(OptionText(CheckBitOptions, CheckBitOptions.initialIndex), "None");
    EXPECT_EQ(OptionText(CanBaudRateOptions, CanBaudRateOptions.initialIndex), "125K");
}

TEST(OptionTables, NoSelectionGivesTheFallbackEntryNotTheInitialOne) {
    EXPECT_EQ(OptionValue(BaudRateOptions, std::nullopt), 19200u);
    EXPECT_EQ(OptionText(BaudRateOptions, std::nullopt), "19200");
    EXPECT_EQ(OptionValue(CheckBitOptions, std::nullopt), 1u);
    EXPECT_EQ(OptionText(CheckBitOptions, std::nullopt), "Odd");
    EXPECT_EQ(OptionValue(CanBaudRateOptions, std::nullopt), 100u);
    EXPECT_EQ(OptionText(CanBaudRateOptions, std::nullopt), "100K");
}

TEST(OptionTables, PositionOutsideTheTableGivesTheFallbackEntry) {
    EXPECT_EQ(OptionValue(BaudRateOptions, -1), 19200u);
    EXPECT_EQ(OptionValue(BaudRateOptions, 9), 19200u);
    EXPECT_EQ(OptionText(CheckBitOptions, 5), "Odd");
}

TEST(FindOption, ComparesWholeTextsExactly) {
    struct Case {
        const char* name;
        const OptionTable* table;
        std::string text;
    };
    const Case misses[] = {
        {"lower-case k", &CanBaudRateOptions, "125k"},
        {"trailing blank", &BaudRateOptions, "19200 "},
        {"leading blank", &BaudRateOptions, " 19200"},
        {"leading zero", &BaudRateOptions, "019200"},
        {"baud rate not in the table", &BaudRateOptions, "4800"},
        {"1M written as kbit/s", &CanBaudRateOptions, "1000K"},
        {"CAN value not in the table", &CanBaudRateOptions, "1001K"},
        {"prefix of an entry", &CanBaudRateOptions, "62"},
        {"lower-case check bit", &CheckBitOptions, "none"},
        {"empty text", &CheckBitOptions, ""},
        {"text with a zero byte", &BaudRateOptions, std::string{"300\0", 4}},
    };
    for (const Case& miss : misses) {
        EXPECT_EQ(FindOption(*miss.table, miss.text), std::nullopt) << miss.name;
    }
}

TEST(SlaveAddressValue, IsTheLowByteOfTheLeadingNumber) {
    struct Case {
        const char* text;
        uint8_t value;
    };
    const Case cases[] = {
        {"12", 12},
        {"12abc", 12},
        {"+12", 12},
        {" 12", 12},
        {"\t\r\n12", 12},
        {"12 34", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"+-12", 0},
        {"- 12", 0},
        {"300", 44},
        {"256", 0},
        {"-1", 255},
        {"-257", 255},
        {"4294967297", 1},            // 2^32 + 1: a 32-bit accumulator would wrap to 1 too
        {"18446744073709551617", 1},  // 2^64 + 1
        {"-18446744073709551617", 255},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(SlaveAddressValue(row.text), row.value) << '"' << row.text << '"';
    }
}

TEST(CanProtocolValue, IsZeroOnlyWhenCanAIsChosen) {
    EXPECT_EQ(CanProtocolValue(true), 0);
    EXPECT_EQ(CanProtocolValue(false), 1);
}

TEST(DisplayTexts, ShowValuesOutsideTheTables) {
    EXPECT_EQ(BaudRateText(4800), "4800");
    EXPECT_EQ(BaudRateText(0), "0");
    EXPECT_EQ(BaudRateText(4294967295u), "4294967295");
    EXPECT_EQ(SlaveAddressText(0), "0");
    EXPECT_EQ(SlaveAddressText(150), "150");
    EXPECT_EQ(SlaveAddressText(255), "255");
    EXPECT_EQ(CanBaudRateText(1001), "1001K");
    EXPECT_EQ(CanBaudRateText(0), "0K");
    EXPECT_EQ(CanBaudRateText(65535), "65535K");
    EXPECT_EQ(FindOption(CanBaudRateOptions, CanBaudRateText(1001)), std::nullopt);
    EXPECT_EQ(FindOption(BaudRateOptions, BaudRateText(4800)), std::nullopt);
}

TEST(CheckBitIndex, KeepsCodesOneToFourAndShowsEveryOtherCodeAsNone) {
    const std::pair<uint8_t, int> cases[] = {{0, 0}, {1, 1}, {2, 2},   {3, 3},
                                             {4, 4}, {5, 0}, {128, 0}, {255, 0}};
    for (const auto& [code, index] : cases) {
        EXPECT_EQ(CheckBitIndex(code), index) << "code " << int{code};
    }
}

TEST(CanProtocolText, NamesProtocolAOnlyForZero) {
    EXPECT_EQ(CanProtocolText(0), "CAN2.0 A");
    EXPECT_EQ(CanProtocolText(1), "CAN2.0 B");
    EXPECT_EQ(CanProtocolText(2), "CAN2.0 B");
    EXPECT_EQ(CanProtocolText(255), "CAN2.0 B");
}

TEST(CorrectedSlaveAddressText, BringsTheLeadingNumberIntoOneToNinetyNine) {
    struct Case {
        const char* text;
        const char* corrected;
    };
    const Case cases[] = {
        {"0", "1"},
        {"-5", "1"},
        {"abc", "1"},
        {"", "1"},
        {"-99999999999999999999999999999", "1"},
        {"100", "99"},
        {"250", "99"},
        {"100000", "99"},
        {"256", "99"},                             // the whole number counts, not its low byte
        {"4294967297", "99"},                      // would wrap to 1 in 32 bits
        {"999999999999999999999999999999", "99"},  // 30 digits: saturates, never wraps
        {"42", "42"},
        {"042", "042"},
        {"42abc", "42abc"},
        {" 42", " 42"},
        {"+7", "+7"},
        {"1", "1"},
        {"99", "99"},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(CorrectedSlaveAddressText(row.text), row.corrected) << '"' << row.text << '"';
    }
}

}  // namespace
}  // namespace rq508
