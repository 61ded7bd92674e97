// The link end to end: the real channel, the real termios port and the real clock against a
// virtual gateway that answers well, badly or not at all.

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "link/serial_channel.h"
#include "link/transactions.h"
#include "platform/system.h"
#include "support/scratch_folder.h"
#include "support/virtual_gateway_process.h"
#include "support/whole_file.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;
using testing::VirtualGatewayProcess;

const GatewaySettings kInitial{};
const GatewaySettings kSecondExample{115200, 2, 99, 1000, 1};
const GatewaySettings kThirdExample{9600, 1, 1, 100, 1};

const char* const kSecondExampleFile =
    "Baud Rate\t\t115200\r\nCheck Bit\t\tEven\r\nCAN Baud Rate\t\t1M\r\n"
    "CAN Protocol\t\tCAN2.0 B\r\nModbus Slave Address\t99\r\n";

// Another process that holds the port open, as a terminal program would.
class PortHolder {
public:
    explicit PortHolder(const std::string& port) {
        int ready[2];
        int release[2];
        if (pipe(ready) != 0 || pipe(release) != 0) {
            return;
        }
        m_child = fork();
        if (m_child == 0) {
            close(ready[0]);
            close(release[1]);
            PortError error;
            const std::unique_ptr<SerialPortDevice> device = MakeSystemSerialPort();
            const char held = device->Open(port, error) ? 'y' : 'n';
            [[maybe_unused]] ssize_t ignored = write(ready[1], &held, 1);
            char released;
            ignored = read(release[0], &released, 1);  // until the parent closes its end
            device->Close();
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        m_release = release[1];
        char held = 'n';
        m_holds = read(ready[0], &held, 1) == 1 && held == 'y';
        close(ready[0]);
    }
    ~PortHolder() {
        if (m_child > 0) {
            close(m_release);
            waitpid(m_child, nullptr, 0);
        }
    }
    bool Holds() const { return m_holds; }

private:
    pid_t m_child = -1;
    int m_release = -1;
    bool m_holds = false;
};

enum class Exchange { Download, Upload, TwoDownloads };

// Which port the transaction is given.
enum class PortChoice { Gateway, Missing, Empty, HeldElsewhere };

struct FaultCase {
    const char* name;
    std::vector<std::string> simArguments;
    Exchange exchange;
    TransactionKind kind;
    const char* message;
    std::optional<GatewaySettings> uploaded = std::nullopt;  // settings an upload brings
    GatewaySettings held = kSecondExample;                   // what the gateway holds after
    const char* wire = nullptr;  // a line of the gateway's log: what reached the wire
    PortChoice port = PortChoice::Gateway;
    bool gatewayStays = true;  // false when the gateway hangs up and ends
};

void PrintTo(const FaultCase& row, std::ostream* out) {
    *out << row.name;
}

class LinkAgainstVirtualGateway : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override { ASSERT_FALSE(m_folder.empty()); }

    testing::ScratchFolder m_scratch{"rq508-link"};
    const fs::path& m_folder = m_scratch.Path();
};

TEST_P(LinkAgainstVirtualGateway, GivesTheOutcomeAndLeavesThePortFree) {
    const FaultCase& row = GetParam();
    testing::WriteWholeFile(m_folder / "initial.txt", kSecondExampleFile);
    std::vector<std::string> arguments = {"--no-announce", "--initial",
                                          (m_folder / "initial.txt").string(), "--state-file",
                                          (m_folder / "state.txt").string()};
    arguments.insert(arguments.end(), row.simArguments.begin(), row.simArguments.end());
    VirtualGatewayProcess gateway;
    std::string error;
    ASSERT_TRUE(gateway.Start(arguments, error)) << error;

    std::optional<PortHolder> holder;
    std::string port = gateway.PortPath();
    switch (row.port) {
        case PortChoice::Gateway:
            break;
        case PortChoice::Missing:
            port = "/dev/rq508-no-such-port";
            break;
        case PortChoice::Empty:
            port = "";
            break;
        case PortChoice::HeldElsewhere:
            holder.emplace(port);
            ASSERT_TRUE(holder->Holds());
            break;
    }

    const std::unique_ptr<SerialPortDevice> device = MakeSystemSerialPort();
    const std::unique_ptr<Clock> clock = MakeSystemClock();
    SerialChannel channel(*device, *clock);
    TransactionOutcome outcome{};
    switch (row.exchange) {
        case Exchange::Download:
            outcome = DownloadSettings(channel, port, kInitial);
            break;
        case Exchange::Upload:
            outcome = UploadSettings(channel, port);
            break;
        case Exchange::TwoDownloads:
            ASSERT_EQ(DownloadSettings(channel, port, kThirdExample).kind,
                      TransactionKind::ReplyAccepted);
            outcome = DownloadSettings(channel, port, kInitial);
            break;
    }

    EXPECT_EQ(outcome.kind, row.kind);
    std::string message = row.message;
    if (const size_t at = message.find("{port}"); at != std::string::npos) {
        message.replace(at, 6, port);
    }
    EXPECT_EQ(outcome.message, message);
    EXPECT_EQ(outcome.settings, row.uploaded);
    EXPECT_FALSE(channel.IsOpen());
    if (row.wire != nullptr) {
        EXPECT_TRUE(gateway.WaitForLogLine(row.wire)) << "the gateway never logged " << row.wire;
    } else if (row.port != PortChoice::Gateway) {
        EXPECT_FALSE(gateway.NextLogLine(200)) << "something reached the gateway";
    }
    if (!row.gatewayStays) {
        EXPECT_EQ(gateway.WaitForExit(), 0);
        return;
    }
    EXPECT_EQ(VirtualGatewayProcess::HeldSettings(m_folder / "state.txt"), row.held);
    holder.reset();
    PortError reopenError;
    EXPECT_TRUE(device->Open(gateway.PortPath(), reopenError))
        << "the port stayed busy: " << reopenError.osText;
    device->Close();
}

// The bytes of the first worked example, and the ack, as the gateway logs them.
constexpr const char* kInitialOnTheWire =
    "download 19200 None 1 125K CAN2.0 A < FE 0A 00 00 4B 00 00 01 00 7D 00 00 D3 FD > "
    "FE 02 00 00 02 FD";

INSTANTIATE_TEST_SUITE_P(
    Faults, LinkAgainstVirtualGateway,
    ::testing::Values(FaultCase{"DownloadPutsTheWorkedExampleOnTheWireAndTheGatewayKeepsIt",
                                {},
                                Exchange::Download,
                                TransactionKind::ReplyAccepted,
                                "Download is successful!",
                                std::nullopt,
                                kInitial,
                                kInitialOnTheWire},
                      FaultCase{"UploadBringsTheSettingsBack",
                                {},
                                Exchange::Upload,
                                TransactionKind::ReplyAccepted,
                                "Upload is successful!",
                                kSecondExample,
                                kSecondExample,
                                "upload 115200 Even 99 1M CAN2.0 B"},
                      FaultCase{"SilenceFailsTheDownload",
                                {"--silent"},
                                Exchange::Download,
                                TransactionKind::ReplyRejected,
                                "Download failed!",
                                std::nullopt,
                                kSecondExample,
                                "> nothing"},
                      FaultCase{"AnySixBytesStartingFE02AreAnAck",
                                {"--bad-checksum"},
                                Exchange::Download,
                                TransactionKind::ReplyAccepted,
                                "Download is successful!",
                                std::nullopt,
                                kInitial,
                                "> FE 02 00 00 FD FD"},
                      FaultCase{"SevenBytesStartingFE02AreNoAck",
                                {"--wrong-length"},
                                Exchange::Download,
                                TransactionKind::ReplyRejected,
                                "Download failed!",
                                std::nullopt,
                                kInitial,
                                "> FE 02 00 00 02 FD 00"},
                      FaultCase{"UploadReplyWithAWrongChecksumIsAccepted",
                                {"--bad-checksum"},
                                Exchange::Upload,
                                TransactionKind::ReplyAccepted,
                                "Upload is successful!",
                                kSecondExample,
                                kSecondExample,
                                "upload"},
                      FaultCase{"TenOfFourteenBytesFailTheUpload",
                                {"--partial", "10"},
                                Exchange::Upload,
                                TransactionKind::ReplyRejected,
                                "Upload failed!",
                                std::nullopt,
                                kSecondExample,
                                "upload"},
                      // The rest of the reply comes long after the look that decides.
                      FaultCase{"ReplyStillArrivingAtTheDecidingLook",
                                {"--split", "10", "--pause", "5000"},
                                Exchange::Upload,
                                TransactionKind::ReplyRejected,
                                "Upload failed!",
                                std::nullopt,
                                kSecondExample,
                                "upload"},
                      FaultCase{"ReplyBeyondTheReceiveBlock",
                                {"--flood", "200"},
                                Exchange::Upload,
                                TransactionKind::ReplyRejected,
                                "Upload failed!",
                                std::nullopt,
                                kSecondExample,
                                "> 200 bytes"},
                      FaultCase{"EchoOfTheRequest",
                                {"--echo"},
                                Exchange::Upload,
                                TransactionKind::ReplyRejected,
                                "Upload failed!",
                                std::nullopt,
                                kSecondExample,
                                "upload"},
                      FaultCase{"GarbageOfTheRightLength",
                                {"--garbage"},
                                Exchange::Upload,
                                TransactionKind::ReplyRejected,
                                "Upload failed!",
                                std::nullopt,
                                kSecondExample,
                                "upload"},
                      FaultCase{"ReplyLongAfterTheWindow",
                                {"--delay", "5000"},
                                Exchange::Download,
                                TransactionKind::ReplyRejected,
                                "Download failed!",
                                std::nullopt,
                                kInitial,
                                kInitialOnTheWire},
                      FaultCase{"StaleBytesAreDiscardedAtTheOpen",
                                {"--stale", "50"},
                                Exchange::Download,
                                TransactionKind::ReplyAccepted,
                                "Download is successful!",
                                std::nullopt,
                                kInitial,
                                kInitialOnTheWire},
                      FaultCase{"TwoDownloadsInARowAreIndependent",
                                {},
                                Exchange::TwoDownloads,
                                TransactionKind::ReplyAccepted,
                                "Download is successful!",
                                std::nullopt,
                                kInitial,
                                kInitialOnTheWire},
                      FaultCase{"GatewayHangsUpMidTransaction",
                                {"--hangup"},
                                Exchange::Download,
                                TransactionKind::ReplyRejected,
                                "Download failed!",
                                std::nullopt,
                                kSecondExample,
                                "> hangup",
                                PortChoice::Gateway,
                                false},
                      FaultCase{"PortNameOfNoPort",
                                {},
                                Exchange::Download,
                                TransactionKind::OpenFailed,
                                "Port/dev/rq508-no-such-port failed to open!",
                                std::nullopt,
                                kSecondExample,
                                nullptr,
                                PortChoice::Missing},
                      FaultCase{"EmptyPortName",
                                {},
                                Exchange::Upload,
                                TransactionKind::OpenFailed,
                                "Port failed to open!",
                                std::nullopt,
                                kSecondExample,
                                nullptr,
                                PortChoice::Empty},
                      FaultCase{"PortHeldByAnotherProcess",
                                {},
                                Exchange::Download,
                                TransactionKind::OpenFailed,
                                "Port{port} failed to open!",
                                std::nullopt,
                                kSecondExample,
                                nullptr,
                                PortChoice::HeldElsewhere}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace rq508
