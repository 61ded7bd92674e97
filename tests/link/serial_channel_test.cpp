#include "link/serial_channel.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "fake_port.h"

namespace rq508 {
namespace {

using testing::Arrival;
using testing::FakeClock;
using testing::FakeSerialPort;

const std::vector<uint8_t> kFrame = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};

std::vector<uint8_t> Bytes(size_t count, uint8_t first = 0) {
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

// Times of the looks, in ms after the end of the write.
std::vector<uint32_t> LooksAfterWrite(const FakeSerialPort& port, uint32_t writeEnd) {
    std::vector<uint32_t> looks;
    // The first count of waiting bytes belongs to Send, before the write.
    for (size_t i = 1; i < port.lookTimes.size(); ++i) {
        looks.push_back(port.lookTimes[i] - writeEnd);
    }
    return looks;
}

struct WindowCase {
    std::string name;
    uint32_t clockStartMs;
    uint32_t writeDurationMs;
    std::vector<Arrival> reply;
    std::vector<uint32_t> expectedLooks;
    uint32_t expectedWaiting;
};

class WaitWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(WaitWindow, LooksEvery50MsUntilBytesWaitOrTheWindowHasPassed) {
    const WindowCase& c = GetParam();
    FakeClock clock(c.clockStartMs);
    FakeSerialPort port(clock);
    port.writeDurationMs = c.writeDurationMs;
    port.reply = c.reply;
    SerialChannel channel(port, clock);
    ASSERT_EQ(channel.Open("COM1"), OpenResult::Opened);

    channel.Send(kFrame.data(), kFrame.size());
    const uint32_t writeEnd = c.clockStartMs + c.writeDurationMs;
    EXPECT_EQ(channel.WaitForInput(), c.expectedWaiting);
    EXPECT_EQ(LooksAfterWrite(port, writeEnd), c.expectedLooks);
}

const std::vector<uint32_t> kAllLooks = {50, 100, 150, 200, 250, 300, 350};

INSTANTIATE_TEST_SUITE_P(
    SerialChannel, WaitWindow,
    ::testing::Values(
        WindowCase{"WholeReplyBeforeFirstLook", 1000, 0, {{10, Bytes(6)}}, {50}, 6},
        WindowCase{"ReplyAtExactlyFirstLook", 1000, 0, {{50, Bytes(6)}}, {50}, 6},
        WindowCase{"ByteAt120EndsAtThe150Look", 1000, 0, {{120, Bytes(1)}}, {50, 100, 150}, 1},
        WindowCase{"ReplyStillArrivingIsTakenAsFarAsItCame",
                   1000,
                   0,
                   {{40, Bytes(10)}, {60, Bytes(4)}},
                   {50},
                   10},
        WindowCase{"SilenceEndsAtFirstLookAfter300", 1000, 0, {}, kAllLooks, 0},
        WindowCase{"ReplyAt300SeenAtThe300Look",
                   1000,
                   0,
                   {{300, Bytes(6)}},
                   {50, 100, 150, 200, 250, 300},
                   6},
        WindowCase{"ReplyAfter300CountedAtTheLastLook", 1000, 0, {{320, Bytes(6)}}, kAllLooks, 6},
        WindowCase{"ReplyAfterTheLastLookIsMissed", 1000, 0, {{351, Bytes(6)}}, kAllLooks, 0},
        WindowCase{"WindowStartsWhenTheWriteReturned", 1000, 40, {}, kAllLooks, 0},
        WindowCase{"ClockWrapsDuringSilence", 0xFFFFFFF0u, 0, {}, kAllLooks, 0},
        WindowCase{
            "ClockWrapsBeforeTheReply", 0xFFFFFFF0u, 0, {{120, Bytes(1)}}, {50, 100, 150}, 1},
        WindowCase{"ClockWrapsDuringTheWrite", 0xFFFFFFF0u, 30, {}, kAllLooks, 0}),
    [](const auto& row) { return row.param.name; });

TEST(SerialChannel, SendClearsTheErrorStateThenWrites) {
    FakeClock clock;
    FakeSerialPort port(clock);
    SerialChannel channel(port, clock);
    ASSERT_EQ(channel.Open("COM1"), OpenResult::Opened);
    port.calls.clear();

    channel.Send(kFrame.data(), kFrame.size());
    EXPECT_EQ(port.calls, (std::vector<std::string>{"WaitingByteCount", "Write"}));
    EXPECT_EQ(port.written, kFrame);
}

struct ReceiveCase {
    std::string name;
    size_t arrived;
    std::vector<size_t> expectedReadRequests;
    size_t expectedBytesRead;
};

class Receive : public ::testing::TestWithParam<ReceiveCase> {};

TEST_P(Receive, ReadsAtMostOneBlockAndKeepsTheCount) {
    const ReceiveCase& c = GetParam();
    FakeClock clock;
    FakeSerialPort port(clock);
    port.reply = {{0, Bytes(c.arrived, 1)}};
    SerialChannel channel(port, clock);
    ASSERT_EQ(channel.Open("COM1"), OpenResult::Opened);
    channel.Send(kFrame.data(), kFrame.size());
    const uint32_t waiting = channel.WaitForInput();
    ASSERT_EQ(waiting, c.arrived);

    const ReceivedBlock block = channel.Receive(waiting);
    EXPECT_EQ(block.count, c.arrived);
    EXPECT_EQ(port.readRequests, c.expectedReadRequests);
    for (size_t i = 0; i < block.bytes.size(); ++i) {
        const uint8_t expected = i < c.expectedBytesRead ? static_cast<uint8_t>(i + 1) : 0;
        ASSERT_EQ(block.bytes[i], expected) << "at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(SerialChannel, Receive,
                         ::testing::Values(ReceiveCase{"NothingWaitingReadsNothing", 0, {}, 0},
                                           ReceiveCase{"SixWaiting", 6, {6}, 6},
                                           ReceiveCase{"ExactlyOneBlock", 128, {128}, 128},
                                           ReceiveCase{"MoreThanOneBlock", 200, {128}, 128}),
                         [](const auto& row) { return row.param.name; });

TEST(SerialChannel, ReceiveZeroFillsWhatTheDeviceDidNotDeliver) {
    FakeClock clock;
    FakeSerialPort port(clock);
    SerialChannel channel(port, clock);
    ASSERT_EQ(channel.Open("COM1"), OpenResult::Opened);
    port.Inject({0xFE, 0x02});

    const ReceivedBlock block = channel.Receive(6);  // the device has only two of the six
    EXPECT_EQ(block.count, 6u);
    EXPECT_EQ(block.bytes[0], 0xFE);
    EXPECT_EQ(block.bytes[1], 0x02);
    for (size_t i = 2; i < block.bytes.size(); ++i) {
        ASSERT_EQ(block.bytes[i], 0) << "at " << i;
    }
}

TEST(SerialChannel, OpenSetsTheLineThenDiscardsWhatWaits) {
    FakeClock clock;
    FakeSerialPort port(clock);
    SerialChannel channel(port, clock);

    EXPECT_EQ(channel.Open("/dev/ttyUSB0"), OpenResult::Opened);
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_EQ(port.calls, (std::vector<std::string>{"Open /dev/ttyUSB0", "ReadLineSettings",
                                                    "WriteLineSettings", "Purge"}));
    EXPECT_EQ(port.writtenSettings.baudRate, 19200u);
    EXPECT_EQ(port.writtenSettings.dataBits, 8);
    EXPECT_EQ(port.writtenSettings.parity, Parity::None);
    EXPECT_EQ(port.writtenSettings.stopBits, StopBits::One);
}

struct OpenFailureCase {
    std::string name;
    bool failOpen;
    bool failReadSettings;
    bool failWriteSettings;
    OpenResult expected;
    std::vector<std::string> expectedCalls;
};

class OpenFailure : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(OpenFailure, LeavesThePortClosedAndSendsNothing) {
    const OpenFailureCase& c = GetParam();
    FakeClock clock;
    FakeSerialPort port(clock);
    port.failOpen = c.failOpen;
    port.failReadSettings = c.failReadSettings;
    port.failWriteSettings = c.failWriteSettings;
    SerialChannel channel(port, clock);

    EXPECT_EQ(channel.Open("COM1"), c.expected);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_FALSE(port.open);
    EXPECT_EQ(port.calls, c.expectedCalls);

    // A caller that goes on anyway reaches no device and does not wait.
    port.calls.clear();
    channel.Send(kFrame.data(), kFrame.size());
    EXPECT_EQ(channel.WaitForInput(), 0u);
    channel.Receive(6);
    channel.Close();
    EXPECT_TRUE(port.calls.empty());
    EXPECT_TRUE(port.written.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SerialChannel, OpenFailure,
    ::testing::Values(
        OpenFailureCase{
            "PortCannotBeOpened", true, false, false, OpenResult::OpenFailed, {"Open COM1"}},
        OpenFailureCase{"LineSettingsCannotBeRead",
                        false,
                        true,
                        false,
                        OpenResult::SettingsReadFailed,
                        {"Open COM1", "ReadLineSettings", "Close"}},
        OpenFailureCase{"LineSettingsCannotBeWritten",
                        false,
                        false,
                        true,
                        OpenResult::SettingsWriteFailed,
                        {"Open COM1", "ReadLineSettings", "WriteLineSettings", "Close"}}),
    [](const auto& row) { return row.param.name; });

TEST(SerialChannel, KeepsWhyTheOpenFailedUntilTheNextOpen) {
    FakeClock clock;
    FakeSerialPort port(clock);
    port.failOpen = true;
    port.openError = {PortFailureKind::Busy, "Device or resource busy", "process 42 (picocom)"};
    SerialChannel channel(port, clock);

    ASSERT_EQ(channel.Open("/dev/ttyS0"), OpenResult::OpenFailed);
    EXPECT_EQ(channel.LastOpenError().kind, PortFailureKind::Busy);
    EXPECT_EQ(channel.LastOpenError().osText, "Device or resource busy");
    EXPECT_EQ(channel.LastOpenError().ownerHint, "process 42 (picocom)");

    port.failOpen = false;
    ASSERT_EQ(channel.Open("/dev/ttyS0"), OpenResult::Opened);
    EXPECT_EQ(channel.LastOpenError().kind, PortFailureKind::None);
}

TEST(SerialChannel, PortIsFreeAgainAfterASettingsFailure) {
    FakeClock clock;
    FakeSerialPort port(clock);
    port.failWriteSettings = true;
    SerialChannel channel(port, clock);
    ASSERT_EQ(channel.Open("COM1"), OpenResult::SettingsWriteFailed);

    port.failWriteSettings = false;
    EXPECT_EQ(channel.Open("COM1"), OpenResult::Opened);
}

TEST(SerialChannel, CloseIsIdempotentAndTheDestructorCloses) {
    FakeClock clock;
    FakeSerialPort port(clock);
    {
        SerialChannel channel(port, clock);
        channel.Close();  // closed channel: nothing to do
        EXPECT_TRUE(port.calls.empty());

        ASSERT_EQ(channel.Open("COM1"), OpenResult::Opened);
        channel.Close();
        channel.Close();
        EXPECT_FALSE(channel.IsOpen());
        EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "Close"), 1);

        ASSERT_EQ(channel.Open("COM1"), OpenResult::Opened);
    }
    EXPECT_FALSE(port.open);
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "Close"), 2);
}

TEST(SerialChannel, OpeningAnOpenChannelClosesThePortFirst) {
    FakeClock clock;
    FakeSerialPort port(clock);
    SerialChannel channel(port, clock);
    ASSERT_EQ(channel.Open("COM1"), OpenResult::Opened);
    port.calls.clear();

    ASSERT_EQ(channel.Open("COM2"), OpenResult::Opened);
    EXPECT_EQ(port.calls.front(), "Close");
}

}  // namespace
}  // namespace rq508
