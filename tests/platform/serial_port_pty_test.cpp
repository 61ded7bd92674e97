#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "link/frames.h"
#include "link/serial_channel.h"
#include "link/transactions.h"
#include "platform/posix/serial_port_posix.h"
#include "platform/system.h"
#include "pty_pair.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;
using testing::PtyGateway;
using testing::PtyPair;

const LineSettings k19200_8N1{19200, 8, Parity::None, StopBits::One};

// Waits, with a generous limit, until the port counts at least count bytes waiting.
uint32_t AwaitWaiting(SerialPortDevice& port, uint32_t count) {
    uint32_t waiting = 0;
    for (int look = 0; look < 500 && waiting < count; ++look) {
        waiting = port.WaitingByteCount();
        if (waiting < count) {
            ::usleep(10000);
        }
    }
    return waiting;
}

class PtyPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pair.Ready()) << "no pseudo-terminal: " << std::strerror(errno);
        ASSERT_FALSE(m_lockFolder.empty());
    }

    std::unique_ptr<SerialPortDevice> MakePort() { return MakePosixSerialPort({m_lockFolder}); }

    // Opens and sets the line as the channel does.
    std::unique_ptr<SerialPortDevice> OpenConfigured() {
        auto port = MakePort();
        PortError error;
        LineSettings settings;
        EXPECT_TRUE(port->Open(m_pair.SlavePath(), error)) << error.osText;
        EXPECT_TRUE(port->ReadLineSettings(settings));
        EXPECT_TRUE(port->WriteLineSettings(k19200_8N1));
        port->Purge();
        return port;
    }

    PtyPair m_pair;
    testing::ScratchFolder m_scratch{"rq508-lock-test"};
    const fs::path& m_lockFolder = m_scratch.Path();
};

TEST_F(PtyPort, SetsTheLineTo19200EightDataBitsNoParityOneStopBit) {
    auto port = OpenConfigured();
    LineSettings applied;
    ASSERT_TRUE(port->ReadLineSettings(applied));
    EXPECT_EQ(applied.baudRate, 19200u);
    EXPECT_EQ(applied.dataBits, 8);
    EXPECT_EQ(applied.parity, Parity::None);
    EXPECT_EQ(applied.stopBits, StopBits::One);
}

TEST_F(PtyPort, EveryByteValuePassesUnchangedBothWays) {
    auto port = OpenConfigured();
    // XON, XOFF, CR, LF, 0xFF, NUL and the characters a cooked line would act on.
    std::vector<uint8_t> bytes = {0x11, 0x13, 0x0D, 0x0A, 0xFF, 0x00, 0x03,
                                  0x04, 0x08, 0x15, 0x17, 0x1A, 0x1C, 0x7F};
    for (int value = 0; value < 256; ++value) {
        bytes.push_back(static_cast<uint8_t>(value));
    }

    port->Write(bytes.data(), bytes.size());
    EXPECT_EQ(m_pair.ReadMaster(bytes.size()), bytes);

    m_pair.WriteMaster(bytes);
    ASSERT_EQ(AwaitWaiting(*port, static_cast<uint32_t>(bytes.size())), bytes.size());
    std::vector<uint8_t> received(bytes.size());
    EXPECT_EQ(port->Read(received.data(), received.size()), bytes.size());
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(m_pair.ReadMaster(1, 200).empty()) << "the port echoed what it received";
}

TEST_F(PtyPort, ReadReturnsWhatIsWaitingWithoutWaitingForMore) {
    auto port = OpenConfigured();
    uint8_t buffer[16] = {};
    EXPECT_EQ(port->Read(buffer, sizeof buffer), 0u);

    m_pair.WriteMaster({0xFE, 0x02, 0x00});
    ASSERT_EQ(AwaitWaiting(*port, 3), 3u);
    EXPECT_EQ(port->Read(buffer, sizeof buffer), 3u);
}

TEST_F(PtyPort, InputWaitingBeforeTheOpenIsDiscarded) {
    // A line end, so that the kernel's default line mode counts the bytes as readable.
    m_pair.WriteMaster({'s', 't', 'a', 'l', 'e', '\n'});
    pollfd entry{m_pair.SlaveFd(), POLLIN, 0};
    ASSERT_EQ(::poll(&entry, 1, 5000), 1) << "the stale bytes never arrived";

    auto port = OpenConfigured();
    EXPECT_EQ(port->WaitingByteCount(), 0u);
    m_pair.WriteMaster({0xFE, 0x02});
    ASSERT_EQ(AwaitWaiting(*port, 2), 2u);
    uint8_t buffer[8] = {};
    EXPECT_EQ(port->Read(buffer, sizeof buffer), 2u);
    EXPECT_EQ(buffer[0], 0xFE);
}

TEST_F(PtyPort, ASecondOpenOfAnOpenPortIsBusyAndNamesTheHolder) {
    auto first = OpenConfigured();
    auto second = MakePort();
    PortError error;
    EXPECT_FALSE(second->Open(m_pair.SlavePath(), error));
    EXPECT_EQ(error.kind, PortFailureKind::Busy);
    EXPECT_FALSE(error.osText.empty());
    EXPECT_NE(error.ownerHint.find("process " + std::to_string(::getpid())), std::string::npos)
        << error.ownerHint;

    first->Close();
    EXPECT_TRUE(second->Open(m_pair.SlavePath(), error)) << "the port stayed locked after close";
}

// Exclusive mode belongs to the terminal, not to the descriptor: left set, it would keep every
// other user out of a pseudo-terminal whose gateway still holds it open.
TEST_F(PtyPort, ExclusiveModeLastsWhileThePortIsOpen) {
    int exclusive = 0;
    auto port = OpenConfigured();
    ASSERT_EQ(::ioctl(m_pair.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    port->Close();
    ASSERT_EQ(::ioctl(m_pair.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST_F(PtyPort, APortLockedByAnotherProgramIsBusy) {
    const int other = ::open(m_pair.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);

    auto port = MakePort();
    PortError error;
    EXPECT_FALSE(port->Open(m_pair.SlavePath(), error));
    EXPECT_EQ(error.kind, PortFailureKind::Busy);
    ::close(other);
    EXPECT_TRUE(port->Open(m_pair.SlavePath(), error));
}

struct LockFileCase {
    std::string name;
    std::string content;  // "$live" and "$gone" stand for a live and a vanished process id
    bool busy;
};

class UucpLockFile : public PtyPort, public ::testing::WithParamInterface<LockFileCase> {};

TEST_P(UucpLockFile, ALockOfALiveProcessMakesThePortBusy) {
    const LockFileCase& c = GetParam();
    std::string content = c.content;
    const pid_t live = ::getppid();   // alive while this test runs, and not this process
    const int gone = 4194304 + 1000;  // above the largest pid the kernel hands out
    if (content == "$live") {
        content = std::to_string(live) + "\n";
    } else if (content == "$liveBinary") {
        content.assign(reinterpret_cast<const char*>(&live), sizeof(int));
    } else if (content == "$gone") {
        content = "      " + std::to_string(gone) + "\n";
    }
    const std::string device = fs::path(m_pair.SlavePath()).filename().string();
    testing::WriteWholeFile(m_lockFolder / ("LCK.." + device), content);

    auto port = MakePort();
    PortError error;
    EXPECT_EQ(port->Open(m_pair.SlavePath(), error), !c.busy);
    if (c.busy) {
        EXPECT_EQ(error.kind, PortFailureKind::Busy);
        EXPECT_NE(error.ownerHint.find("process " + std::to_string(live)), std::string::npos)
            << error.ownerHint;
    }
}

INSTANTIATE_TEST_SUITE_P(PtyPort, UucpLockFile,
                         ::testing::Values(LockFileCase{"AsciiPidOfALiveProcess", "$live", true},
                                           LockFileCase{"BinaryPidOfALiveProcess", "$liveBinary",
                                                        true},
                                           LockFileCase{"PidOfAVanishedProcess", "$gone", false},
                                           LockFileCase{"Garbage", "not a pid\n", false},
                                           LockFileCase{"Empty", "", false}),
                         [](const auto& row) { return row.param.name; });

TEST(PosixSerialPort, AMissingDeviceIsNotFound) {
    auto port = MakePosixSerialPort({});
    for (const std::string name : {"/dev/rq508-no-such-port", ""}) {
        PortError error;
        EXPECT_FALSE(port->Open(name, error)) << name;
        EXPECT_EQ(error.kind, PortFailureKind::NotFound) << name;
        EXPECT_EQ(error.osText, "No such file or directory") << name;
    }
}

class NoTerminal : public ::testing::TestWithParam<std::string> {};

TEST_P(NoTerminal, FailsTheLineSettingsReadAndLeavesThePortFree) {
    const testing::ScratchFolder folder("rq508-not-a-port");
    fs::path path = GetParam();
    if (path.empty()) {
        path = folder / "plain.txt";
        testing::WriteWholeFile(path, "plain text\n");
    }
    auto device = MakeSystemSerialPort();
    auto clock = MakeSystemClock();
    SerialChannel channel(*device, *clock);
    EXPECT_EQ(channel.Open(path), OpenResult::SettingsReadFailed);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(channel.Open(path), OpenResult::SettingsReadFailed) << "the first open kept a lock";
    if (GetParam().empty()) {
        EXPECT_EQ(testing::ReadWholeFile(path), "plain text\n") << "the file was changed";
    }
}

INSTANTIATE_TEST_SUITE_P(PosixSerialPort, NoTerminal, ::testing::Values("/dev/null", std::string()),
                         [](const auto& row) {
                             return row.param.empty() ? std::string("RegularFile")
                                                      : std::string("DevNull");
                         });

// The whole exchange through the system's port and clock, against a gateway on the master end.
class PtyTransaction : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_pair.Ready()); }

    PtyPair m_pair;
    std::unique_ptr<SerialPortDevice> m_device = MakeSystemSerialPort();
    std::unique_ptr<Clock> m_clock = MakeSystemClock();
    SerialChannel m_channel{*m_device, *m_clock};
};

const GatewaySettings kInitialSettings{};
const std::vector<uint8_t> kInitialFrame = {0xFE, 0x0A, 0x00, 0x00, 0x4B, 0x00, 0x00,
                                            0x01, 0x00, 0x7D, 0x00, 0x00, 0xD3, 0xFD};
const std::vector<uint8_t> kAck = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};

TEST_F(PtyTransaction, DownloadPutsTheFrameOnTheWireAndTakesTheAck) {
    PtyGateway gateway(m_pair, kDownloadFrameSize, kAck);
    const TransactionOutcome outcome =
        DownloadSettings(m_channel, m_pair.SlavePath(), kInitialSettings);
    gateway.Join();
    EXPECT_EQ(gateway.request, kInitialFrame);
    EXPECT_EQ(outcome.kind, TransactionKind::ReplyAccepted);
    EXPECT_EQ(outcome.message, "Download is successful!");
    EXPECT_FALSE(m_channel.IsOpen());
}

TEST_F(PtyTransaction, UploadBringsTheGatewaysSettings) {
    const GatewaySettings held{115200, 2, 99, 1000, 1};
    const DownloadFrame reply = EncodeDownloadFrame(held);
    PtyGateway gateway(m_pair, kUploadRequestSize, {reply.begin(), reply.end()});
    const TransactionOutcome outcome = UploadSettings(m_channel, m_pair.SlavePath());
    gateway.Join();
    EXPECT_EQ(gateway.request, (std::vector<uint8_t>{0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD}));
    EXPECT_EQ(outcome.kind, TransactionKind::ReplyAccepted);
    EXPECT_EQ(outcome.settings, held);
    EXPECT_FALSE(m_channel.IsOpen());
}

TEST_F(PtyTransaction, TwoDownloadsInARowAreIndependent) {
    for (int round = 0; round < 2; ++round) {
        PtyGateway gateway(m_pair, kDownloadFrameSize, kAck);
        EXPECT_EQ(DownloadSettings(m_channel, m_pair.SlavePath(), kInitialSettings).kind,
                  TransactionKind::ReplyAccepted)
            << "round " << round;
        gateway.Join();
        EXPECT_EQ(gateway.request, kInitialFrame) << "round " << round;
    }
}

TEST_F(PtyTransaction, SilenceIsARejectedReplyAndThePortIsFreeAgain) {
    const TransactionOutcome outcome =
        DownloadSettings(m_channel, m_pair.SlavePath(), kInitialSettings);
    EXPECT_EQ(outcome.kind, TransactionKind::ReplyRejected);
    EXPECT_EQ(outcome.message, "Download failed!");
    EXPECT_EQ(m_pair.ReadMaster(kDownloadFrameSize), kInitialFrame);

    auto other = MakeSystemSerialPort();
    PortError error;
    EXPECT_TRUE(other->Open(m_pair.SlavePath(), error)) << error.osText;
}

TEST_F(PtyTransaction, AHangUpDuringTheExchangeIsARejectedReply) {
    PtyGateway gateway(m_pair, kUploadRequestSize, {}, /*hangUp=*/true);
    const TransactionOutcome outcome = UploadSettings(m_channel, m_pair.SlavePath());
    gateway.Join();
    EXPECT_EQ(outcome.kind, TransactionKind::ReplyRejected);
    EXPECT_EQ(outcome.message, "Upload failed!");
    EXPECT_FALSE(m_channel.IsOpen());
}

TEST_F(PtyTransaction, AMissingPortSendsNothingAndNamesThePort) {
    const TransactionOutcome outcome = UploadSettings(m_channel, "/dev/rq508-no-such-port");
    EXPECT_EQ(outcome.kind, TransactionKind::OpenFailed);
    EXPECT_EQ(outcome.message, "Port/dev/rq508-no-such-port failed to open!");
    EXPECT_EQ(outcome.openError.kind, PortFailureKind::NotFound);
}

}  // namespace
}  // namespace rq508
