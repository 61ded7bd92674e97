#include "sim/virtual_gateway.h"

#include <gtest/gtest.h>

#include "link/frames.h"

namespace rq508 {
namespace {

using Bytes = std::vector<uint8_t>;

const GatewaySettings kSecondExample{115200, 2, 99, 1000, 1};
const Bytes kSecondExampleFrame = {0xFE, 0x0A, 0x00, 0x01, 0xC2, 0x00, 0x02,
                                   0x63, 0x03, 0xE8, 0x01, 0x00, 0x1E, 0xFD};
const Bytes kInitialFrame = {0xFE, 0x0A, 0x00, 0x00, 0x4B, 0x00, 0x00,
                             0x01, 0x00, 0x7D, 0x00, 0x00, 0xD3, 0xFD};
const Bytes kRequest = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};
const Bytes kAck = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};

struct Behaviour {
    const char* name;
    Misbehaviour misbehaviour;
    Bytes request;
    Bytes reply;
    bool keepsTheDownload;
};

Misbehaviour With(void (*set)(Misbehaviour&)) {
    Misbehaviour m;
    set(m);
    return m;
}

class VirtualGatewayAnswers : public ::testing::TestWithParam<Behaviour> {};

TEST_P(VirtualGatewayAnswers, ShapesTheReplyAsTold) {
    VirtualGateway gateway(GatewaySettings{}, GetParam().misbehaviour);
    const Answer answer = gateway.Receive(GetParam().request);
    EXPECT_EQ(answer.reply, GetParam().reply);
    const bool isDownload = GetParam().request.size() == kDownloadFrameSize;
    EXPECT_EQ(gateway.Settings() == kSecondExample, isDownload && GetParam().keepsTheDownload);
}

Bytes Repeated(const Bytes& unit, size_t count) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = unit[i % unit.size()];
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Misbehaviours, VirtualGatewayAnswers,
    ::testing::Values(
        Behaviour{"SoundDownload", {}, kSecondExampleFrame, kAck, true},
        Behaviour{"SoundUpload", {}, kRequest, kInitialFrame, false},
        Behaviour{"Silent",
                  With([](Misbehaviour& m) { m.silent = true; }),
                  kSecondExampleFrame,
                  {},
                  false},
        Behaviour{"Echo", With([](Misbehaviour& m) { m.echo = true; }), kSecondExampleFrame,
                  kSecondExampleFrame, false},
        Behaviour{"ReadOnlyAcknowledgesButKeepsNothing",
                  With([](Misbehaviour& m) { m.readOnly = true; }), kSecondExampleFrame, kAck,
                  false},
        Behaviour{"GarbageOfTheAcksLength", With([](Misbehaviour& m) { m.garbage = true; }),
                  kSecondExampleFrame, GarbageBytes(6), true},
        Behaviour{"FloodRepeatsTheReply", With([](Misbehaviour& m) { m.floodBytes = 200; }),
                  kRequest, Repeated(kInitialFrame, 200), false},
        Behaviour{
            "BadChecksumOnUpload",
            With([](Misbehaviour& m) { m.badChecksum = true; }),
            kRequest,
            {0xFE, 0x0A, 0x00, 0x00, 0x4B, 0x00, 0x00, 0x01, 0x00, 0x7D, 0x00, 0x00, 0x2C, 0xFD},
            false},
        Behaviour{"WrongLengthAddsOneByte",
                  With([](Misbehaviour& m) { m.wrongLength = true; }),
                  kSecondExampleFrame,
                  {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD, 0x00},
                  true},
        Behaviour{"PartialUpload", With([](Misbehaviour& m) { m.partialBytes = 10; }), kRequest,
                  Bytes(kInitialFrame.begin(), kInitialFrame.begin() + 10), false},
        Behaviour{"PartialLongerThanTheAck", With([](Misbehaviour& m) { m.partialBytes = 10; }),
                  kSecondExampleFrame, kAck, true}),
    [](const auto& row) { return row.param.name; });

TEST(VirtualGateway, HangupAnswersNothingAndKeepsNothing) {
    Misbehaviour m;
    m.hangup = true;
    VirtualGateway gateway(GatewaySettings{}, m);
    const Answer answer = gateway.Receive(kSecondExampleFrame);
    EXPECT_TRUE(answer.hangUp);
    EXPECT_TRUE(answer.reply.empty());
    EXPECT_EQ(gateway.Settings(), GatewaySettings{});
    EXPECT_EQ(answer.logLine.substr(answer.logLine.size() - 8), "> hangup");
}

TEST(VirtualGateway, LogLineShowsSettingsReceivedAndSent) {
    VirtualGateway gateway(GatewaySettings{}, Misbehaviour{});
    EXPECT_EQ(gateway.Receive(kSecondExampleFrame).logLine,
              "download 115200 Even 99 1M CAN2.0 B < FE 0A 00 01 C2 00 02 63 03 E8 01 00 1E FD "
              "> FE 02 00 00 02 FD");
    Misbehaviour flood;
    flood.floodBytes = 300;
    VirtualGateway flooding(kSecondExample, flood);
    EXPECT_EQ(flooding.Receive(kRequest).logLine,
              "upload 115200 Even 99 1M CAN2.0 B < FE 02 00 00 02 FD > 300 bytes");
}

TEST(VirtualGateway, GarbageNeverStartsAFrame) {
    for (const uint8_t byte : GarbageBytes(64)) {
        EXPECT_NE(byte, kFrameStart);
    }
}

}  // namespace
}  // namespace rq508
