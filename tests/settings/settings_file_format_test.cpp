// The settings file's bytes and its token reader, on contents in memory.

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"

namespace rq508 {
namespace {

using namespace std::string_literals;

const SettingsFileRecord kInitialRecord{"19200", "None", "125K", 0, "1"};

const std::string kInitialFile =
    "Baud Rate\t\t19200\r\n"
    "Check Bit\t\tNone\r\n"
    "CAN Baud Rate\t\t125K\r\n"
    "CAN Protocol\t\tCAN2.0 A\r\n"
    "Modbus Slave Address\t1\r\n";

TEST(FormatSettingsText, InitialSettingsGiveTheExact104Bytes) {
    const std::string text = FormatSettingsText(kInitialRecord);
    EXPECT_EQ(text, kInitialFile);
    EXPECT_EQ(text.size(), 104u);
}

TEST(FormatSettingsText, WritesProtocolBAndTheAddressBoxUnchanged) {
    const SettingsFileRecord record{"115200", "Space", "1M", 1, " 12 34 "};
    EXPECT_EQ(FormatSettingsText(record),
              "Baud Rate\t\t115200\r\n"
              "Check Bit\t\tSpace\r\n"
              "CAN Baud Rate\t\t1M\r\n"
              "CAN Protocol\t\tCAN2.0 B\r\n"
              "Modbus Slave Address\t 12 34 \r\n");
}

TEST(FormatSettingsText, EmptyAddressLeavesTheTabAndTheLineEnd) {
    SettingsFileRecord record = kInitialRecord;
    record.slaveAddressText.clear();
    const std::string text = FormatSettingsText(record);
    EXPECT_TRUE(text.ends_with("CAN2.0 A\r\nModbus Slave Address\t\r\n"));
}

struct LoadCase {
    std::string name;
    std::string contents;
    SettingsFileRecord expected;
};

class ParseLoads : public testing::TestWithParam<LoadCase> {};

TEST_P(ParseLoads, GivesTheRecord) {
    const ReadResult result = ParseSettingsText(GetParam().contents);
    ASSERT_EQ(result.outcome, ReadOutcome::Loaded) << result.detail;
    EXPECT_EQ(result.record, GetParam().expected);
    EXPECT_EQ(result.detail, "");
}

const std::string kLongToken(300, 'x');

INSTANTIATE_TEST_SUITE_P(
    Tolerance, ParseLoads,
    testing::Values(
        LoadCase{"AsSaved", kInitialFile, kInitialRecord},
        LoadCase{"LineFeedsOnly",
                 "Baud Rate\t\t19200\nCheck Bit\t\tNone\nCAN Baud Rate\t\t125K\n"
                 "CAN Protocol\t\tCAN2.0 A\nModbus Slave Address\t1\n",
                 kInitialRecord},
        LoadCase{"AllTokensOnOneLine",
                 "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 A "
                 "Modbus Slave Address 1",
                 kInitialRecord},
        LoadCase{"LabelWordsSplitByAnyWhiteSpace",
                 "\r\n \v\fBaud\t\t\tRate\n\n19200 Check\r\nBit None CAN\fBaud\vRate 125K CAN "
                 "Protocol CAN2.0\n\nA Modbus   Slave\tAddress 1",
                 kInitialRecord},
        LoadCase{"ValuesOutsideTheTablesAsTyped",
                 "Baud Rate 4800 Check Bit none CAN Baud Rate 1001K CAN Protocol CAN2.0 A "
                 "Modbus Slave Address 500",
                 {"4800", "none", "1001K", 0, "500"}},
        LoadCase{"LowerCaseLetterIsProtocolB",
                 "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 b "
                 "Modbus Slave Address 1",
                 {"19200", "None", "125K", 1, "1"}},
        LoadCase{"AnyOtherLetterIsProtocolB",
                 "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 C "
                 "Modbus Slave Address 1",
                 {"19200", "None", "125K", 1, "1"}},
        LoadCase{"OnlyTheFirstTokenOfTheAddress",
                 "Baud Rate\t\t19200\r\nCheck Bit\t\tNone\r\nCAN Baud Rate\t\t125K\r\n"
                 "CAN Protocol\t\tCAN2.0 A\r\nModbus Slave Address\t12 34\r\n",
                 {"19200", "None", "125K", 0, "12"}},
        LoadCase{"EverythingAfterTheAddressIgnored",
                 kInitialFile + "Baud Rate\t\t300\r\nsixth line\r\n\xff\0\x01\x02"s,
                 kInitialRecord},
        LoadCase{"EndingRightAfterTheAddressLabelGivesAnEmptyAddress",
                 "Baud Rate\t\t19200\r\nCheck Bit\t\tNone\r\nCAN Baud Rate\t\t125K\r\n"
                 "CAN Protocol\t\tCAN2.0 A\r\nModbus Slave Address\t\r\n",
                 {"19200", "None", "125K", 0, ""}},
        LoadCase{"LongTokensCutTo127Bytes",
                 "Baud Rate " + kLongToken +
                     " Check Bit None CAN Baud Rate 125K CAN Protocol "
                     "CAN2.0 A Modbus Slave Address " +
                     kLongToken,
                 {std::string(127, 'x'), "None", "125K", 0, std::string(127, 'x')}},
        LoadCase{"LongLetterIsProtocolB",
                 "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 " +
                     kLongToken + " Modbus Slave Address 1",
                 {"19200", "None", "125K", 1, "1"}},
        LoadCase{"BytesAbove127KeptAsTheyAre",
                 "Baud Rate 19200 Check Bit N\xe9"
                 "ant CAN Baud Rate 125K CAN Protocol CAN2.0 A "
                 "Modbus Slave Address \xff",
                 {"19200",
                  "N\xe9"
                  "ant",
                  "125K", 0, "\xff"}}),
    [](const auto& row) { return row.param.name; });

struct RejectCase {
    std::string name;
    std::string contents;
};

class ParseRejects : public testing::TestWithParam<RejectCase> {};

TEST_P(ParseRejects, AsUnrecognised) {
    const ReadResult result = ParseSettingsText(GetParam().contents);
    EXPECT_EQ(result.outcome, ReadOutcome::Unrecognised);
    EXPECT_NE(result.detail, "");
    EXPECT_EQ(result.record, SettingsFileRecord{});
}

// The tail of a good file after its first two labels, for rows that change one thing.
const std::string kAfterCheckBit =
    " None CAN Baud Rate 125K CAN Protocol CAN2.0 A Modbus Slave Address 1";

INSTANTIATE_TEST_SUITE_P(
    Rejections, ParseRejects,
    testing::Values(
        RejectCase{"EmptyFile", ""}, RejectCase{"OnlyWhiteSpace", " \t\r\n\v\f"},
        RejectCase{"LowerCaseFirstLabel", "baud rate 19200 Check Bit" + kAfterCheckBit},
        RejectCase{"RunTogetherFirstLabel", "BaudRate 19200 Check Bit" + kAfterCheckBit},
        RejectCase{"LabelWithAnExtraWord", "Baud Rate Rate 19200 Check Bit" + kAfterCheckBit},
        RejectCase{"LabelsSwapped",
                   "Check Bit None Baud Rate 19200 CAN Baud Rate 125K CAN "
                   "Protocol CAN2.0 A Modbus Slave Address 1"},
        RejectCase{"PrefixRunTogetherWithLetter",
                   "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0A "
                   "Modbus Slave Address 1"},
        RejectCase{"LowerCasePrefix",
                   "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol can2.0 A "
                   "Modbus Slave Address 1"},
        RejectCase{"ProtocolWithoutPrefix",
                   "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol A "
                   "Modbus Slave Address 1"},
        RejectCase{"LastLabelMisspelt",
                   "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 A "
                   "Modbus Slave Adress 1"},
        RejectCase{"EndsInsideTheFirstLabel", "Baud"},
        RejectCase{"EndsAfterTheFirstValue", "Baud Rate 19200"},
        RejectCase{"EndsAfterTheProtocolLabel",
                   "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol"},
        RejectCase{"EndsAfterThePrefix",
                   "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0"},
        RejectCase{"EndsInsideTheAddressLabel",
                   "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 A "
                   "Modbus Slave"},
        RejectCase{"ZeroByteInAValue", "Baud Rate 19200\0junk Check Bit"s + kAfterCheckBit},
        RejectCase{"ZeroByteStartingAValue",
                   "Baud Rate \0"
                   "19200 Check Bit"s +
                       kAfterCheckBit},
        RejectCase{"ZeroByteInALabel", "Baud Rate\0 19200 Check Bit"s + kAfterCheckBit},
        RejectCase{"ZeroByteBeyondTheFirst127BytesOfAToken",
                   "Baud Rate " + std::string(200, '9') + "\0 Check Bit"s + kAfterCheckBit},
        RejectCase{"ZeroByteInTheAddress",
                   "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 A "
                   "Modbus Slave Address 1\0"s},
        RejectCase{"ByteOrderMarkBeforeTheFirstLabel", "\xef\xbb\xbf" + kInitialFile},
        RejectCase{"BinaryJunk",
                   "\x7f"
                   "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0"s}),
    [](const auto& row) { return row.param.name; });

TEST(ParseSettingsText, SaysWhichLabelDidNotMatch) {
    const ReadResult result = ParseSettingsText("Baud Rate 19200 Check bit" + kAfterCheckBit);
    EXPECT_EQ(result.detail, "expected the label \"Check Bit\", found \"Check bit\"");
}

// What the reader yields is single tokens, so writing a loaded record and reading it again
// gives the same record.
TEST(ParseSettingsText, LoadedRecordSurvivesAWriteAndARead) {
    const ReadResult first =
        ParseSettingsText("Baud Rate " + kLongToken +
                          " Check Bit odd CAN Baud Rate 7K CAN Protocol CAN2.0 q "
                          "Modbus Slave Address");
    ASSERT_EQ(first.outcome, ReadOutcome::Loaded);
    const ReadResult second = ParseSettingsText(FormatSettingsText(first.record));
    ASSERT_EQ(second.outcome, ReadOutcome::Loaded);
    EXPECT_EQ(second.record, first.record);
}

}  // namespace
}  // namespace rq508
