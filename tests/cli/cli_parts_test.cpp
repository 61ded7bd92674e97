// The parts of rq508 that need no gateway: reading the command line, and the texts it prints.

#include <gtest/gtest.h>

#include "cli/command_line.h"
#include "cli/output_format.h"
#include "cli/trace_device.h"

namespace rq508 {
namespace {

struct CommandLineCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* error;  // empty when the line is accepted
};

class CommandLineErrors : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineErrors, SayWhatIsWrong) {
    const ParsedCommandLine parsed = ParseCommandLine(GetParam().arguments);
    EXPECT_EQ(parsed.error, GetParam().error);
    EXPECT_EQ(parsed.commandLine.has_value(), std::string(GetParam().error).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineErrors,
    ::testing::Values(
        CommandLineCase{
            "NoCommand", {}, "no command given: use ports, upload, download, verify, save or load"},
        CommandLineCase{"UnknownCommand",
                        {"flash"},
                        "unknown command \"flash\": use ports, upload, download, verify, save or "
                        "load"},
        CommandLineCase{"OptionOfAnotherCommand",
                        {"upload", "--port", "p", "--baud", "9600"},
                        "--baud is not an option of upload (see rq508 upload --help)"},
        CommandLineCase{
            "OptionGivenTwice", {"upload", "--port", "a", "--port", "b"}, "--port is given twice"},
        CommandLineCase{"ValueMissingAtTheEnd", {"upload", "--port"}, "--port needs a value"},
        CommandLineCase{
            "OptionInPlaceOfAValue", {"upload", "--port", "--json"}, "--port needs a value"},
        CommandLineCase{"SaveWithoutFile", {"save", "--port", "p"}, "save needs --file PATH"},
        CommandLineCase{
            "FlagWithValue", {"upload", "--port", "p", "--json=yes"}, "--json takes no value"},
        CommandLineCase{"SecondCommand",
                        {"upload", "download", "--port", "p"},
                        "unexpected \"download\" after the command upload"},
        CommandLineCase{"CanBaudInLowerCase",
                        {"download", "--port", "p", "--can-baud", "125k"},
                        "CAN baud rate \"125k\" is not one of the valid values: 1M, 500K, 250K, "
                        "125K, 100K, 62.5K, 31.25K, 20K, 10K"},
        CommandLineCase{"ProtocolLetterC",
                        {"download", "--port", "p", "--can-protocol", "C"},
                        "CAN protocol \"C\" is not one of the valid values: A, B (or CAN2.0 A, "
                        "CAN2.0 B)"},
        CommandLineCase{"AddressWithLetters",
                        {"download", "--port", "p", "--address", "12abc"},
                        "slave address \"12abc\" is not a whole number from 1 to 99"},
        CommandLineCase{"AddressZero",
                        {"download", "--port", "p", "--address", "0"},
                        "slave address \"0\" is not a whole number from 1 to 99"},
        CommandLineCase{"PortsNeedsNoPort", {"ports"}, ""},
        CommandLineCase{"EmptyPortNameIsAName", {"upload", "--port", ""}, ""},
        CommandLineCase{"OptionsBeforeTheCommand", {"--port=p", "--trace", "upload"}, ""}),
    [](const auto& row) { return row.param.name; });

TEST(CommandLine, SettingOptionsBecomeWireValues) {
    const ParsedCommandLine parsed = ParseCommandLine(
        {"verify", "--port", "/dev/ttyUSB0", "--baud", "57600", "--check-bit", "Space", "--address",
         "42", "--can-baud", "62.5K", "--can-protocol", "CAN2.0 B"});
    ASSERT_TRUE(parsed.commandLine) << parsed.error;
    const SettingChoices& choices = parsed.commandLine->choices;
    EXPECT_EQ(choices.baudRate, 57600u);
    EXPECT_EQ(choices.checkBit, 4);
    EXPECT_EQ(choices.slaveAddress, 42);
    EXPECT_EQ(choices.canBaudRate, 62);
    EXPECT_EQ(choices.canProtocol, 1);
    EXPECT_TRUE(choices.IsComplete());
    EXPECT_EQ(parsed.commandLine->command, Command::Verify);
}

TEST(CommandLine, HelpNamesItsCommandWhereverItStands) {
    EXPECT_EQ(ParseCommandLine({"save", "--help"}).helpTopic, Command::Save);
    EXPECT_EQ(ParseCommandLine({"help", "load"}).helpTopic, Command::Load);
    const ParsedCommandLine general = ParseCommandLine({"--help"});
    EXPECT_TRUE(general.helpRequested);
    EXPECT_FALSE(general.helpTopic);
}

struct AdviceCase {
    const char* name;
    PortError error;
    const char* advice;
};

class OpenFailureAdviceText : public ::testing::TestWithParam<AdviceCase> {};

TEST_P(OpenFailureAdviceText, SaysWhyAndWhatToDo) {
    EXPECT_EQ(OpenFailureAdvice("/dev/ttyUSB0", GetParam().error), GetParam().advice);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, OpenFailureAdviceText,
    ::testing::Values(
        AdviceCase{"PermissionWithGroup",
                   {PortFailureKind::PermissionDenied, "Permission denied", "dialout"},
                   "You may not use /dev/ttyUSB0 (Permission denied). It belongs to the group "
                   "dialout: join it with\n  sudo usermod -aG dialout $USER\nthen log out and "
                   "in again."},
        AdviceCase{"BusyWithHolder",
                   {PortFailureKind::Busy, "Device or resource busy", "process 77 (picocom)"},
                   "/dev/ttyUSB0 is in use (Device or resource busy) by process 77 (picocom). "
                   "Close that program and try again."},
        AdviceCase{"BusyHolderUnknown",
                   {PortFailureKind::Busy, "Device or resource busy", ""},
                   "/dev/ttyUSB0 is in use (Device or resource busy) by another program. Close "
                   "that program and try again."},
        AdviceCase{"NotFound",
                   {PortFailureKind::NotFound, "No such file or directory", ""},
                   "There is no port /dev/ttyUSB0 (No such file or directory). rq508 ports lists "
                   "the serial ports found."}),
    [](const auto& row) { return row.param.name; });

TEST(OutputFormat, DifferencesListEachSettingThatDiffers) {
    const GatewaySettings sent{9600, 2, 5, 250, 1};
    const GatewaySettings held{19200, 2, 5, 1000, 0};
    EXPECT_EQ(SettingDifferences(sent, held),
              (std::vector<std::string>{
                  "baud rate: sent 9600, the gateway holds 19200",
                  "CAN baud rate: sent 250K, the gateway holds 1M",
                  "CAN protocol: sent CAN2.0 B (1), the gateway holds CAN2.0 A (0)"}));
    EXPECT_TRUE(SettingDifferences(sent, sent).empty());
}

TEST(OutputFormat, ValuesOutsideTheTablesStayVisible) {
    // A gateway may hold a code the window shows as None; the check bit shows its number too.
    EXPECT_EQ(SettingDifferences(GatewaySettings{}, GatewaySettings{19200, 7, 1, 125, 0}),
              std::vector<std::string>{"check bit: sent None (0), the gateway holds None (7)"});
    EXPECT_EQ(SettingsJson(GatewaySettings{4800, 7, 150, 1001, 2}),
              "{\"baudRate\": 4800, \"checkBit\": 7, \"slaveAddress\": 150, \"canBaudRate\": "
              "1001, \"canProtocol\": 2}\n");
}

TEST(TraceDevice, DescribesFramesByDirection) {
    const uint8_t ack[] = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};
    const uint8_t frame[] = {0xFE, 0x0A, 0x00, 0x01, 0xC2, 0x00, 0x02,
                             0x63, 0x03, 0xE8, 0x01, 0x00, 0x1E, 0xFD};
    EXPECT_EQ(DescribeFrame(ack, 6, true), "upload request");
    EXPECT_EQ(DescribeFrame(ack, 6, false), "download ack");
    EXPECT_EQ(DescribeFrame(frame, 14, true), "download frame: 115200 Even 99 1M CAN2.0 B");
    EXPECT_EQ(DescribeFrame(frame, 14, false), "upload reply: 115200 Even 99 1M CAN2.0 B");
    EXPECT_EQ(DescribeFrame(frame, 10, false), "10 bytes, no frame");
    EXPECT_EQ(DescribeFrame(frame, 0, false), "nothing");
}

}  // namespace
}  // namespace rq508
