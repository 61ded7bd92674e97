// The rq508 program as a script uses it: real runs against a virtual gateway on a real
// pseudo-terminal, judged by exit status, what it prints and what the gateway then holds.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "link/serial_port_device.h"
#include "platform/system.h"
#include "settings/gateway_settings.h"
#include "support/program_run.h"
#include "support/scratch_folder.h"
#include "support/virtual_gateway_process.h"
#include "support/whole_file.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::ReadWholeFile;
using testing::RunProgram;
using testing::ScratchFolder;
using testing::VirtualGatewayProcess;
using testing::WriteWholeFile;

const GatewaySettings kInitial{};
const GatewaySettings kSecondExample{115200, 2, 99, 1000, 1};

const char* const kSecondExampleFile =
    "Baud Rate\t\t115200\r\nCheck Bit\t\tEven\r\nCAN Baud Rate\t\t1M\r\n"
    "CAN Protocol\t\tCAN2.0 B\r\nModbus Slave Address\t99\r\n";

std::string Replaced(std::string text, const std::string& key, const std::string& value) {
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
        text.replace(at, key.size(), value);
        at += value.size();
    }
    return text;
}

struct CliCase {
    const char* name;
    std::vector<std::string> simArguments;  // {dir} stands for a folder of the test's own
    std::vector<std::string> arguments;     // {port} stands for the gateway's port too
    const char* inputFile;                  // written to {dir}/in.txt when given
    int exitStatus;
    std::vector<std::string> outFragments;
    std::vector<std::string> errFragments;
    GatewaySettings held;     // what the gateway holds afterwards
    bool downloads = true;    // false: no download frame may reach the gateway
    const char* savedFile{};  // expected contents of {dir}/out.txt
};

void PrintTo(const CliCase& row, std::ostream* out) {
    *out << row.name;
}

class Rq508AgainstVirtualGateway : public ::testing::TestWithParam<CliCase> {};

TEST_P(Rq508AgainstVirtualGateway, ExitsPrintsAndLeavesTheGatewayAsExpected) {
    const CliCase& row = GetParam();
    ScratchFolder folder("rq508-cli-test");
    const fs::path state = folder.Path() / "state.txt";
    if (row.inputFile != nullptr) {
        WriteWholeFile(folder / "in.txt", row.inputFile);
    }
    VirtualGatewayProcess gateway;
    const auto expand = [&](const std::string& text) {
        return Replaced(Replaced(text, "{port}", gateway.PortPath()), "{dir}",
                        folder.Path().string());
    };
    std::vector<std::string> simArguments = {"--no-announce", "--state-file", state.string()};
    for (const std::string& argument : row.simArguments) {
        simArguments.push_back(expand(argument));
    }
    std::string error;
    ASSERT_TRUE(gateway.Start(simArguments, error)) << error;
    std::vector<std::string> arguments;
    for (const std::string& argument : row.arguments) {
        arguments.push_back(expand(argument));
    }

    const ProgramRun run = RunProgram(RQ508_CLI_PROGRAM, arguments);

    EXPECT_EQ(run.exitStatus, row.exitStatus) << run.out << run.err;
    for (const std::string& fragment : row.outFragments) {
        EXPECT_NE(run.out.find(expand(fragment)), std::string::npos)
            << "stdout lacks: " << fragment << "\n"
            << run.out;
    }
    for (const std::string& fragment : row.errFragments) {
        EXPECT_NE(run.err.find(expand(fragment)), std::string::npos)
            << "stderr lacks: " << fragment << "\n"
            << run.err;
    }
    EXPECT_EQ(VirtualGatewayProcess::HeldSettings(state), row.held);
    if (!row.downloads) {
        EXPECT_FALSE(gateway.WaitForLogLine("download", 200)) << "a download was sent";
    }
    if (row.savedFile != nullptr) {
        EXPECT_EQ(ReadWholeFile(folder / "out.txt"), row.savedFile);
    }
}

const std::vector<std::string> kSecondExampleOptions = {
    "--baud", "115200",     "--check-bit", "Even",           "--address",
    "99",     "--can-baud", "1M",          "--can-protocol", "B"};

std::vector<std::string> Download(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"download", "--port", "{port}"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Rq508AgainstVirtualGateway,
    ::testing::Values(
        CliCase{"UploadPrintsTheSettingsFileFormWithPlainLineFeeds",
                {},
                {"upload", "--port", "{port}"},
                nullptr,
                0,
                {"Baud Rate\t\t19200\nCheck Bit\t\tNone\nCAN Baud Rate\t\t125K\n"
                 "CAN Protocol\t\tCAN2.0 A\nModbus Slave Address\t1\n"},
                {},
                kInitial,
                false},
        CliCase{"UploadJsonGivesTheWireValues",
                {"--initial", "{dir}/in.txt"},
                {"upload", "--json", "--port={port}"},
                kSecondExampleFile,
                0,
                {"{\"baudRate\": 115200, \"checkBit\": 2, \"slaveAddress\": 99, "
                 "\"canBaudRate\": 1000, \"canProtocol\": 1}\n"},
                {},
                kSecondExample,
                false},
        CliCase{"DownloadOfEveryOption",
                {},
                Download(kSecondExampleOptions),
                nullptr,
                0,
                {"Download is successful!"},
                {},
                kSecondExample},
        CliCase{"DownloadKeepsTheGatewaysValuesForOptionsLeftOut",
                {"--initial", "{dir}/in.txt"},
                Download({"--baud", "9600", "--can-protocol", "A"}),
                kSecondExampleFile,
                0,
                {"Download is successful!"},
                {},
                GatewaySettings{9600, 2, 99, 1000, 0}},
        CliCase{"DownloadSendsNothingWhenTheUploadBeforeItFails",
                {"--partial", "10"},
                Download({"--baud", "9600"}),
                nullptr,
                5,
                {},
                {"Upload failed!", "nothing was sent"},
                kInitial,
                false},
        CliCase{"DownloadFromAFileWithAnOptionOverIt",
                {},
                Download({"--file", "{dir}/in.txt", "--address", "7"}),
                kSecondExampleFile,
                0,
                {"Download is successful!"},
                {},
                GatewaySettings{115200, 2, 7, 1000, 1}},
        CliCase{"LoadSendsTheFile",
                {},
                {"load", "--port", "{port}", "--file", "{dir}/in.txt"},
                kSecondExampleFile,
                0,
                {"Download is successful!"},
                {},
                kSecondExample},
        CliCase{"LoadOfAValueNoTableHoldsSendsNothing",
                {},
                {"load", "--port", "{port}", "--file", "{dir}/in.txt"},
                "Baud Rate 4800 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 A "
                "Modbus Slave Address 1",
                7,
                {},
                {"baud rate \"4800\" is not one of the valid values: 300, 600, 1200, 2400, 9600, "
                 "19200, 38400, 57600, 115200"},
                kInitial,
                false},
        CliCase{"LoadOfAMissingFile",
                {},
                {"load", "--port", "{port}", "--file", "{dir}/missing.txt"},
                nullptr,
                7,
                {},
                {"File does not exist!", "missing.txt: No such file or directory"},
                kInitial,
                false},
        CliCase{"LoadOfAFileWithAWrongLabel",
                {},
                {"load", "--port", "{port}", "--file", "{dir}/in.txt"},
                "baud rate 19200",
                7,
                {},
                {"Unrecognized file!"},
                kInitial,
                false},
        CliCase{"InvalidOptionValueNamesTheValidOnes",
                {},
                Download({"--check-bit", "none"}),
                nullptr,
                2,
                {},
                {"check bit \"none\" is not one of the valid values: None, Odd, Even, Mark, "
                 "Space"},
                kInitial,
                false},
        CliCase{"SlaveAddressOutOfRange",
                {},
                Download({"--address", "100"}),
                nullptr,
                2,
                {},
                {"slave address \"100\" is not a whole number from 1 to 99"},
                kInitial,
                false},
        CliCase{"SilentGateway",
                {"--silent"},
                Download(kSecondExampleOptions),
                nullptr,
                5,
                {},
                {"Download failed!", "no valid reply from the gateway on {port}"},
                kInitial},
        CliCase{"AckOfSevenBytes",
                {"--wrong-length"},
                Download(kSecondExampleOptions),
                nullptr,
                5,
                {},
                {"Download failed!"},
                kSecondExample},
        CliCase{"VerifyOfAGatewayThatKeepsTheSettings",
                {},
                {"verify", "--port", "{port}", "--can-baud", "250K"},
                nullptr,
                0,
                {"Verified: the gateway holds 19200 None 1 250K CAN2.0 A"},
                {},
                GatewaySettings{19200, 0, 1, 250, 0}},
        CliCase{"VerifyReportsEachDifference",
                {"--read-only"},
                {"verify", "--port", "{port}", "--baud", "9600", "--can-protocol", "B"},
                nullptr,
                6,
                {},
                {"baud rate: sent 9600, the gateway holds 19200",
                 "CAN protocol: sent CAN2.0 B (1), the gateway holds CAN2.0 A (0)"},
                kInitial},
        CliCase{"SaveWritesTheSettingsFile",
                {"--initial", "{dir}/in.txt"},
                {"save", "--port", "{port}", "--file", "{dir}/out.txt"},
                kSecondExampleFile,
                0,
                {},
                {},
                kSecondExample,
                false,
                kSecondExampleFile},
        CliCase{"SaveIntoAFolderThatIsNotThere",
                {},
                {"save", "--port", "{port}", "--file", "{dir}/no/out.txt"},
                nullptr,
                7,
                {},
                {"Save configuration failed!", "cannot write "},
                kInitial,
                false},
        CliCase{"PortThatDoesNotExist",
                {},
                {"upload", "--port", "/dev/rq508-no-such-port"},
                nullptr,
                3,
                {},
                {"Port/dev/rq508-no-such-port failed to open!\n", "rq508 ports"},
                kInitial,
                false},
        CliCase{"FileThatIsNoSerialPort",
                {},
                {"upload", "--port", "/dev/null"},
                nullptr,
                4,
                {},
                {"Reads the serial port parameters wrong!", "/dev/null did not take"},
                kInitial,
                false},
        CliCase{"MissingPortOption",
                {},
                {"upload"},
                nullptr,
                2,
                {},
                {"upload needs --port NAME"},
                kInitial,
                false},
        CliCase{"TraceShowsEachFrameDecoded",
                {},
                {"download", "--trace", "--port", "{port}", "--baud", "19200", "--check-bit",
                 "None", "--address", "1", "--can-baud", "125K", "--can-protocol", "A"},
                nullptr,
                0,
                {"Download is successful!"},
                {"open \"{port}\": done",
                 "> FE 0A 00 00 4B 00 00 01 00 7D 00 00 D3 FD  (download frame: 19200 None 1 "
                 "125K CAN2.0 A)",
                 "< FE 02 00 00 02 FD  (download ack)", "closed"},
                kInitial},
        CliCase{"HelpOfOneCommand",
                {},
                {"download", "--help"},
                nullptr,
                0,
                {"Usage: rq508 download", "--can-baud RATE", "5  the gateway's reply"},
                {},
                kInitial,
                false}),
    [](const auto& row) { return row.param.name; });

TEST(Rq508, EmptyPortNameFailsWithTheMessageNamingIt) {
    const ProgramRun run = RunProgram(RQ508_CLI_PROGRAM, {"upload", "--port", ""});
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(run.err.substr(0, 21), "Port failed to open!\n");
}

TEST(Rq508, PortHeldByAnotherProcessIsBusyAndNamesIt) {
    VirtualGatewayProcess gateway;
    std::string error;
    ASSERT_TRUE(gateway.Start({"--no-announce"}, error)) << error;
    const std::unique_ptr<SerialPortDevice> holder = MakeSystemSerialPort();
    PortError held;
    ASSERT_TRUE(holder->Open(gateway.PortPath(), held)) << held.osText;

    const ProgramRun run = RunProgram(RQ508_CLI_PROGRAM, {"upload", "--port", gateway.PortPath()});
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_NE(run.err.find("Port" + gateway.PortPath() + " failed to open!"), std::string::npos);
    EXPECT_NE(run.err.find("is in use"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("process " + std::to_string(getpid())), std::string::npos) << run.err;
    EXPECT_FALSE(gateway.WaitForLogLine("upload", 200));
}

TEST(Rq508, PortsListsAnAnnouncedVirtualGateway) {
    ScratchFolder runtime("rq508-cli-test");
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved != nullptr ? saved : "";
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    VirtualGatewayProcess gateway;
    std::string error;
    const bool started = gateway.Start({}, error);
    const ProgramRun run = RunProgram(RQ508_CLI_PROGRAM, {"ports"});
    if (saved != nullptr) {
        setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
    ASSERT_TRUE(started) << error;

    EXPECT_EQ(run.exitStatus, 0);
    const std::string link =
        (runtime.Path() / "rq508-sim" / ("gateway-" + std::to_string(gateway.Pid()))).string();
    EXPECT_NE(run.out.find(link + "\n"), std::string::npos) << run.out;
    const ProgramRun upload = RunProgram(RQ508_CLI_PROGRAM, {"upload", "--port", link});
    EXPECT_EQ(upload.exitStatus, 0) << upload.err;
}

}  // namespace
}  // namespace rq508
