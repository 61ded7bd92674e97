// The rq508-sim program itself, driven over its pseudo-terminal by a plain raw client.

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "support/scratch_folder.h"
#include "support/virtual_gateway_process.h"
#include "support/whole_file.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;
using testing::ReadWholeFile;
using testing::ScratchFolder;
using testing::VirtualGatewayProcess;
using Bytes = std::vector<uint8_t>;

const Bytes kInitialFrame = {0xFE, 0x0A, 0x00, 0x00, 0x4B, 0x00, 0x00,
                             0x01, 0x00, 0x7D, 0x00, 0x00, 0xD3, 0xFD};
const Bytes kSecondExampleFrame = {0xFE, 0x0A, 0x00, 0x01, 0xC2, 0x00, 0x02,
                                   0x63, 0x03, 0xE8, 0x01, 0x00, 0x1E, 0xFD};
const Bytes kUploadRequest = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};
const Bytes kAck = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};

// The tool's side of the line, without the tool: raw, and reads wait for a given count.
class RawClient {
public:
    explicit RawClient(const std::string& path)
        : m_fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        termios settings{};
        if (m_fd >= 0 && tcgetattr(m_fd, &settings) == 0) {
            cfmakeraw(&settings);
            tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    ~RawClient() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    void Send(const Bytes& bytes) {
        ASSERT_EQ(write(m_fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads until count bytes came, or the line stays quiet for quietMs.
    Bytes Receive(size_t count, int quietMs = 2000) {
        Bytes received;
        pollfd fd{m_fd, POLLIN, 0};
        while (received.size() < count && poll(&fd, 1, quietMs) > 0) {
            uint8_t chunk[512];
            const ssize_t got = read(m_fd, chunk, sizeof chunk);
            if (got <= 0) {
                break;
            }
            received.insert(received.end(), chunk, chunk + got);
        }
        return received;
    }

private:
    int m_fd;
};

void StartGateway(VirtualGatewayProcess& gateway, const std::vector<std::string>& arguments) {
    std::string error;
    ASSERT_TRUE(gateway.Start(arguments, error)) << error;
}

TEST(SimProcess, DownloadIsAcknowledgedKeptInTheStateFileAndUploadedAgain) {
    ScratchFolder folder("rq508-sim-test");
    const fs::path state = folder.Path() / "state.txt";
    VirtualGatewayProcess gateway;
    StartGateway(gateway, {"--no-announce", "--state-file", state.string()});
    EXPECT_EQ(ReadWholeFile(state),
              "Baud Rate\t\t19200\r\nCheck Bit\t\tNone\r\nCAN Baud Rate\t\t125K\r\n"
              "CAN Protocol\t\tCAN2.0 A\r\nModbus Slave Address\t1\r\n");

    RawClient client(gateway.PortPath());
    ASSERT_TRUE(client.IsOpen());
    client.Send(kSecondExampleFrame);
    EXPECT_EQ(client.Receive(kAck.size()), kAck);
    EXPECT_EQ(gateway.NextLogLine(),
              "download 115200 Even 99 1M CAN2.0 B < FE 0A 00 01 C2 00 02 63 03 E8 01 00 1E FD "
              "> FE 02 00 00 02 FD");
    EXPECT_EQ(ReadWholeFile(state),
              "Baud Rate\t\t115200\r\nCheck Bit\t\tEven\r\nCAN Baud Rate\t\t1M\r\n"
              "CAN Protocol\t\tCAN2.0 B\r\nModbus Slave Address\t99\r\n");

    client.Send(kUploadRequest);
    EXPECT_EQ(client.Receive(kSecondExampleFrame.size()), kSecondExampleFrame);
    EXPECT_EQ(gateway.NextLogLine()->substr(0, 40), "upload 115200 Even 99 1M CAN2.0 B < FE 0");
}

TEST(SimProcess, FrameArrivingInPiecesAfterJunkIsAnswered) {
    VirtualGatewayProcess gateway;
    StartGateway(gateway, {"--no-announce"});
    RawClient client(gateway.PortPath());
    client.Send({0x00, 0x13, 0x11});
    for (size_t i = 0; i < kInitialFrame.size(); i += 5) {
        const size_t end = std::min(kInitialFrame.size(), i + 5);
        client.Send(Bytes(kInitialFrame.begin() + i, kInitialFrame.begin() + end));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(client.Receive(kAck.size()), kAck);
    EXPECT_EQ(gateway.NextLogLine(), "skipped 00 13 11");
    EXPECT_EQ(gateway.NextLogLine()->substr(0, 34), "download 19200 None 1 125K CAN2.0 ");
}

TEST(SimProcess, InitialFileGivesTheSettingsItUploads) {
    ScratchFolder folder("rq508-sim-test");
    const fs::path initial = folder.Path() / "initial.txt";
    testing::WriteWholeFile(initial,
                            "Baud Rate 115200 Check Bit Even CAN Baud Rate 1M "
                            "CAN Protocol CAN2.0 B Modbus Slave Address 99\n");
    VirtualGatewayProcess gateway;
    StartGateway(gateway, {"--no-announce", "--initial", initial.string()});
    RawClient client(gateway.PortPath());
    client.Send(kUploadRequest);
    EXPECT_EQ(client.Receive(kSecondExampleFrame.size()), kSecondExampleFrame);
}

TEST(SimProcess, StaleBytesWaitInTheLineBeforeAnyRequest) {
    VirtualGatewayProcess gateway;
    StartGateway(gateway, {"--no-announce", "--stale", "9"});
    RawClient client(gateway.PortPath());
    const Bytes stale = client.Receive(9);
    ASSERT_EQ(stale.size(), 9u);
    EXPECT_NE(stale[0], 0xFE);
}

TEST(SimProcess, HangupClosesTheLineAndEndsWithoutAnnouncement) {
    ScratchFolder folder("rq508-sim-test");
    VirtualGatewayProcess gateway;
    StartGateway(gateway, {"--announce-dir", folder.Path().string(), "--hangup"});
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
    RawClient client(gateway.PortPath());
    client.Send(kUploadRequest);
    EXPECT_EQ(gateway.WaitForExit(), 0);
    EXPECT_TRUE(client.Receive(1, 200).empty());
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

TEST(SimProcess, TerminationWithdrawsTheAnnouncement) {
    ScratchFolder folder("rq508-sim-test");
    VirtualGatewayProcess gateway;
    StartGateway(gateway, {"--announce-dir", folder.Path().string()});
    const fs::path link = folder.Path() / ("gateway-" + std::to_string(gateway.Pid()));
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), gateway.PortPath());
    EXPECT_EQ(gateway.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimProcess, ClosingTheToolsSideLeavesTheLineWorking) {
    VirtualGatewayProcess gateway;
    StartGateway(gateway, {"--no-announce"});
    for (int round = 0; round < 2; ++round) {
        RawClient client(gateway.PortPath());
        client.Send(kUploadRequest);
        EXPECT_EQ(client.Receive(kInitialFrame.size()), kInitialFrame) << "round " << round;
    }
}

// TIOCEXCL belongs to the terminal, which the gateway keeps open: a program killed while it held
// the port must not leave it busy for good.
TEST(SimProcess, ExclusiveUseLeftByAKilledProgramIsClearedOnceTheLineIsQuiet) {
    VirtualGatewayProcess gateway;
    StartGateway(gateway, {"--no-announce"});
    {
        RawClient client(gateway.PortPath());
        ASSERT_TRUE(client.IsOpen());
        ASSERT_EQ(ioctl(client.Fd(), TIOCEXCL), 0);
        client.Send(kUploadRequest);
        EXPECT_EQ(client.Receive(kInitialFrame.size()), kInitialFrame);
    }  // closed without TIOCNXCL, as a killed program's descriptors are

    // Anyone but root is refused while the flag is set; root is let in, so the flag is read.
    int exclusive = 1;
    for (int tries = 0; tries < 200 && exclusive != 0; ++tries) {
        const int observer = open(gateway.PortPath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (observer >= 0) {
            ASSERT_EQ(ioctl(observer, TIOCGEXCL, &exclusive), 0);
            close(observer);
        } else {
            ASSERT_EQ(errno, EBUSY);
        }
        if (exclusive != 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    EXPECT_EQ(exclusive, 0);
}

struct RefusedStart {
    const char* name;
    std::vector<std::string> arguments;
    const char* complaint;
};

class SimRefusesToStart : public ::testing::TestWithParam<RefusedStart> {};

TEST_P(SimRefusesToStart, WithAClearComplaint) {
    VirtualGatewayProcess gateway;
    std::string error;
    EXPECT_FALSE(gateway.Start(GetParam().arguments, error));
    EXPECT_NE(error.find("exit status 2"), std::string::npos) << error;
    EXPECT_NE(error.find(GetParam().complaint), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, SimRefusesToStart,
    ::testing::Values(RefusedStart{"MissingInitialFile",
                                   {"--initial", "/nonexistent/rq508.txt"},
                                   "cannot read /nonexistent/rq508.txt: No such file or directory"},
                      RefusedStart{"InitialFileIsAFolder", {"--initial", "/"}, "cannot read /"},
                      RefusedStart{"UnknownOption", {"--fast"}, "unknown option \"--fast\""},
                      RefusedStart{"DelayOutOfRange",
                                   {"--delay", "70000"},
                                   "--delay \"70000\" is not a whole number from 0 to 60000"}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace rq508
