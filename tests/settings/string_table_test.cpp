#include "settings/string_table.h"

#include <gtest/gtest.h>

#include <map>

#include "settings/option_tables.h"

namespace rq508 {
namespace {

TEST(StringTable, HoldsEveryNumberedTextExactly) {
    const std::map<int, std::string_view> expected = {
        {101, "About RQ-508(&A)..."},
        {102, "Port% s failed to open!"},
        {103, "Reads the serial port parameters wrong!"},
        {104, "Serial setting error!"},
        {105, ""},
        {106, "None"},
        {107, "Odd"},
        {108, "Even"},
        {109, "Mark"},
        {110, "Space"},
        {111, "Download failed!"},
        {112, "Download is successful!"},
        {113, "Upload is successful!"},
        {114, "Save configuration failed!"},
        {115, "File does not exist!"},
        {116, "Unrecognized file!"},
        {117, "Upload failed!"},
        {118, "Baud Rate\t\t"},
        {119, "CAN Baud Rate\t\t"},
        {120, "Check Bit\t\t"},
        {121, "CAN Protocol\t\t"},
        {122, "Modbus Slave Address\t"},
        {123, "Baud Rate"},
        {124, "Check Bit"},
        {125, "CAN Baud Rate"},
        {126, "CAN Protocol"},
        {127, "Modbus Slave Address"},
    };
    for (const auto& [number, text] : expected) {
        EXPECT_EQ(LoadText(number), text) << "text " << number;
    }
}

TEST(StringTable, NumbersOutsideTheTableGiveEmptyTexts) {
    for (const int number : {0, -1, 100, 128, 1000}) {
        EXPECT_EQ(LoadText(number), "") << "text " << number;
    }
}

TEST(StringTable, CheckBitEntriesAreTheNumberedTexts) {
    ASSERT_EQ(CheckBitOptions.entries.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(CheckBitOptions.entries[static_cast<size_t>(i)].text,
                  LoadText(kTextCheckBitNone + i))
            << "index " << i;
    }
}

TEST(StringTable, TabbedLabelsAreTheLabelsWithTheirTabs) {
    EXPECT_EQ(std::string{LoadText(kTextLabelBaudRate)} + "\t\t",
              LoadText(kTextLabelBaudRateTabbed));
    EXPECT_EQ(std::string{LoadText(kTextLabelCheckBit)} + "\t\t",
              LoadText(kTextLabelCheckBitTabbed));
    EXPECT_EQ(std::string{LoadText(kTextLabelCanBaudRate)} + "\t\t",
              LoadText(kTextLabelCanBaudRateTabbed));
    EXPECT_EQ(std::string{LoadText(kTextLabelCanProtocol)} + "\t\t",
              LoadText(kTextLabelCanProtocolTabbed));
    EXPECT_EQ(std::string{LoadText(kTextLabelSlaveAddress)} + "\t",
              LoadText(kTextLabelSlaveAddressTabbed));
}

TEST(FormatPortOpenFailed, PutsTheNameRightAfterPort) {
    EXPECT_EQ(FormatPortOpenFailed("COM1"), "PortCOM1 failed to open!");
    EXPECT_EQ(FormatPortOpenFailed("/dev/ttyUSB0"), "Port/dev/ttyUSB0 failed to open!");
    EXPECT_EQ(FormatPortOpenFailed(""), "Port failed to open!");
    // A name that itself looks like a conversion is taken as text.
    EXPECT_EQ(FormatPortOpenFailed("% s"), "Port% s failed to open!");
}

}  // namespace
}  // namespace rq508
