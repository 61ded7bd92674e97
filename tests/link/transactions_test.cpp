#include "link/transactions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_port.h"
#include "link/frames.h"

namespace rq508 {
namespace {

using testing::Arrival;
using testing::FakeClock;
using testing::FakeSerialPort;

enum class Operation { Download, Upload };

enum class Failure { None, Open, ReadSettings, WriteSettings };

const GatewaySettings kSent{9600, 2, 5, 250, 1};
const std::vector<uint8_t> kUploadReplyBadChecksum = {0xFE, 0x0A, 0x00, 0x00, 0x4B, 0x00, 0x01,
                                                      0x07, 0x03, 0xE8, 0x01, 0x00, 0x99, 0x00};
const GatewaySettings kReplySettings{19200, 1, 7, 1000, 1};

struct OutcomeCase {
    std::string name;
    Operation operation;
    std::string portName;
    Failure failure;
    std::vector<Arrival> reply;
    TransactionKind expectedKind;
    std::string expectedMessage;
    std::optional<GatewaySettings> expectedSettings;
};

class Transaction : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(Transaction, GivesTheKindAndMessageAndLeavesThePortClosed) {
    const OutcomeCase& c = GetParam();
    FakeClock clock;
    FakeSerialPort port(clock);
    port.failOpen = c.failure == Failure::Open;
    port.failReadSettings = c.failure == Failure::ReadSettings;
    port.failWriteSettings = c.failure == Failure::WriteSettings;
    port.reply = c.reply;
    SerialChannel channel(port, clock);

    const TransactionOutcome outcome = c.operation == Operation::Download
                                           ? DownloadSettings(channel, c.portName, kSent)
                                           : UploadSettings(channel, c.portName);

    EXPECT_EQ(outcome.kind, c.expectedKind);
    EXPECT_EQ(outcome.message, c.expectedMessage);
    EXPECT_EQ(outcome.settings, c.expectedSettings);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_FALSE(port.open);
    if (c.failure != Failure::None) {
        EXPECT_TRUE(port.written.empty()) << "nothing may be sent when the open fails";
    }
}

// Six bytes starting FE 02; the rest is not examined.
const std::vector<uint8_t> kAck = {0xFE, 0x02, 0x12, 0x34, 0x56, 0x78};

INSTANTIATE_TEST_SUITE_P(
    Transactions, Transaction,
    ::testing::Values(
        OutcomeCase{"DownloadPortMissing",
                    Operation::Download,
                    "COM1",
                    Failure::Open,
                    {},
                    TransactionKind::OpenFailed,
                    "PortCOM1 failed to open!",
                    std::nullopt},
        OutcomeCase{"UploadPortMissing",
                    Operation::Upload,
                    "COM9",
                    Failure::Open,
                    {},
                    TransactionKind::OpenFailed,
                    "PortCOM9 failed to open!",
                    std::nullopt},
        OutcomeCase{"DownloadEmptyPortName",
                    Operation::Download,
                    "",
                    Failure::Open,
                    {},
                    TransactionKind::OpenFailed,
                    "Port failed to open!",
                    std::nullopt},
        OutcomeCase{"UploadLinuxPortName",
                    Operation::Upload,
                    "/dev/ttyUSB0",
                    Failure::Open,
                    {},
                    TransactionKind::OpenFailed,
                    "Port/dev/ttyUSB0 failed to open!",
                    std::nullopt},
        OutcomeCase{"DownloadSettingsUnreadable",
                    Operation::Download,
                    "COM1",
                    Failure::ReadSettings,
                    {},
                    TransactionKind::SettingsReadFailed,
                    "Reads the serial port parameters wrong!",
                    std::nullopt},
        OutcomeCase{"UploadSettingsUnreadable",
                    Operation::Upload,
                    "COM1",
                    Failure::ReadSettings,
                    {},
                    TransactionKind::SettingsReadFailed,
                    "Reads the serial port parameters wrong!",
                    std::nullopt},
        OutcomeCase{"DownloadSettingsUnwritable",
                    Operation::Download,
                    "COM1",
                    Failure::WriteSettings,
                    {},
                    TransactionKind::SettingsWriteFailed,
                    "Serial setting error!",
                    std::nullopt},
        OutcomeCase{"UploadSettingsUnwritable",
                    Operation::Upload,
                    "COM1",
                    Failure::WriteSettings,
                    {},
                    TransactionKind::SettingsWriteFailed,
                    "Serial setting error!",
                    std::nullopt},
        OutcomeCase{"DownloadAcked",
                    Operation::Download,
                    "COM1",
                    Failure::None,
                    {{20, kAck}},
                    TransactionKind::ReplyAccepted,
                    "Download is successful!",
                    std::nullopt},
        OutcomeCase{"DownloadAckWithAnExtraByte",
                    Operation::Download,
                    "COM1",
                    Failure::None,
                    {{20, {0xFE, 0x02, 0, 0, 0, 0, 0}}},
                    TransactionKind::ReplyRejected,
                    "Download failed!",
                    std::nullopt},
        OutcomeCase{"DownloadAckStillArriving",
                    Operation::Download,
                    "COM1",
                    Failure::None,
                    {{20, {0xFE, 0x02, 0, 0}}, {70, {0, 0}}},
                    TransactionKind::ReplyRejected,
                    "Download failed!",
                    std::nullopt},
        OutcomeCase{"DownloadSilence",
                    Operation::Download,
                    "COM1",
                    Failure::None,
                    {},
                    TransactionKind::ReplyRejected,
                    "Download failed!",
                    std::nullopt},
        OutcomeCase{"DownloadAnsweredByAnUploadReply",
                    Operation::Download,
                    "COM1",
                    Failure::None,
                    {{20, kUploadReplyBadChecksum}},
                    TransactionKind::ReplyRejected,
                    "Download failed!",
                    std::nullopt},
        OutcomeCase{"UploadReplyWithWrongChecksumAccepted",
                    Operation::Upload,
                    "COM1",
                    Failure::None,
                    {{20, kUploadReplyBadChecksum}},
                    TransactionKind::ReplyAccepted,
                    "Upload is successful!",
                    kReplySettings},
        OutcomeCase{"UploadTenOfFourteenBytesAtTheDecidingLook",
                    Operation::Upload,
                    "COM1",
                    Failure::None,
                    {{20, {kUploadReplyBadChecksum.begin(), kUploadReplyBadChecksum.begin() + 10}},
                     {60, {kUploadReplyBadChecksum.begin() + 10, kUploadReplyBadChecksum.end()}}},
                    TransactionKind::ReplyRejected,
                    "Upload failed!",
                    std::nullopt},
        OutcomeCase{"UploadAnsweredByAnAck",
                    Operation::Upload,
                    "COM1",
                    Failure::None,
                    {{20, kAck}},
                    TransactionKind::ReplyRejected,
                    "Upload failed!",
                    std::nullopt},
        OutcomeCase{"UploadSilence",
                    Operation::Upload,
                    "COM1",
                    Failure::None,
                    {},
                    TransactionKind::ReplyRejected,
                    "Upload failed!",
                    std::nullopt}),
    [](const auto& row) { return row.param.name; });

TEST(Transactions, DownloadSendsTheSettingsFrame) {
    FakeClock clock;
    FakeSerialPort port(clock);
    SerialChannel channel(port, clock);
    DownloadSettings(channel, "COM1", kSent);
    const DownloadFrame frame = EncodeDownloadFrame(kSent);
    EXPECT_EQ(port.written, std::vector<uint8_t>(frame.begin(), frame.end()));
}

TEST(Transactions, UploadSendsTheConstantRequest) {
    FakeClock clock;
    FakeSerialPort port(clock);
    SerialChannel channel(port, clock);
    UploadSettings(channel, "COM1");
    EXPECT_EQ(port.written, (std::vector<uint8_t>{0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD}));
}

TEST(Transactions, OpenFailureCarriesTheSystemsReason) {
    FakeClock clock;
    FakeSerialPort port(clock);
    port.failOpen = true;
    port.openError = {PortFailureKind::PermissionDenied, "Permission denied", "dialout"};
    SerialChannel channel(port, clock);

    const TransactionOutcome outcome = UploadSettings(channel, "/dev/ttyUSB0");
    EXPECT_EQ(outcome.openError.kind, PortFailureKind::PermissionDenied);
    EXPECT_EQ(outcome.openError.osText, "Permission denied");
    EXPECT_EQ(outcome.openError.ownerHint, "dialout");
}

TEST(Transactions, TwoDownloadsInARowEachOpenConfigureAndClose) {
    FakeClock clock;
    FakeSerialPort port(clock);
    port.reply = {{20, kAck}};
    SerialChannel channel(port, clock);

    EXPECT_EQ(DownloadSettings(channel, "COM1", kSent).kind, TransactionKind::ReplyAccepted);
    EXPECT_EQ(DownloadSettings(channel, "COM1", kSent).kind, TransactionKind::ReplyAccepted);
    const std::vector<std::string> once = {"Open COM1",
                                           "ReadLineSettings",
                                           "WriteLineSettings",
                                           "Purge",
                                           "WaitingByteCount",
                                           "Write",
                                           "WaitingByteCount",
                                           "Read",
                                           "Close"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(port.calls, twice);
}

}  // namespace
}  // namespace rq508
