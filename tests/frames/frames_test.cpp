#include "link/frames.h"

#include <gtest/gtest.h>

#include <vector>

namespace rq508 {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const DownloadFrame& frame) {
    return {frame.begin(), frame.end()};
}

struct FrameCase {
    std::string name;
    GatewaySettings settings;
    Bytes frame;
};

class DownloadFrameExample : public testing::TestWithParam<FrameCase> {};

TEST_P(DownloadFrameExample, EncodesByteForByteAndDecodesBack) {
    const FrameCase& row = GetParam();
    const DownloadFrame frame = EncodeDownloadFrame(row.settings);
    EXPECT_EQ(ToBytes(frame), row.frame);
    EXPECT_EQ(FrameChecksum(frame, 10), frame[12]);
    // The gateway answers an upload with the same layout.
    EXPECT_EQ(DecodeUploadReply(frame, frame.size()), row.settings);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, DownloadFrameExample,
    testing::Values(FrameCase{"InitialSettings",
                              {19200, 0, 1, 125, 0},
                              {0xFE, 0x0A, 0x00, 0x00, 0x4B, 0x00, 0x00, 0x01, 0x00, 0x7D, 0x00,
                               0x00, 0xD3, 0xFD}},
                    FrameCase{"Baud115200EvenAddress99OneMegProtocolB",
                              {115200, 2, 99, 1000, 1},
                              {0xFE, 0x0A, 0x00, 0x01, 0xC2, 0x00, 0x02, 0x63, 0x03, 0xE8, 0x01,
                               0x00, 0x1E, 0xFD}},
                    FrameCase{"Baud9600OddAddress1HundredKProtocolB",
                              {9600, 1, 1, 100, 1},
                              {0xFE, 0x0A, 0x00, 0x00, 0x25, 0x80, 0x01, 0x01, 0x00, 0x64, 0x01,
                               0x00, 0x16, 0xFD}},
                    // Widest values: the checksum wraps and every field keeps all its bits.
                    FrameCase{"EveryFieldAtItsMaximum",
                              {0xFFFFFFFF, 255, 255, 0xFFFF, 255},
                              {0xFE, 0x0A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                               0x00, 0x01, 0xFD}}),
    [](const auto& row) { return row.param.name; });

TEST(DownloadFrame, CanBaudRateTravelsMostSignificantByteFirst) {
    const std::pair<uint16_t, std::pair<uint8_t, uint8_t>> cases[] = {
        {1000, {0x03, 0xE8}}, {62, {0x00, 0x3E}}, {31, {0x00, 0x1F}}};
    for (const auto& [value, bytes] : cases) {
        GatewaySettings settings;
        settings.canBaudRate = value;
        const DownloadFrame frame = EncodeDownloadFrame(settings);
        EXPECT_EQ(frame[8], bytes.first) << value;
        EXPECT_EQ(frame[9], bytes.second) << value;
    }
}

TEST(UploadRequest, IsTheConstantFrameWithTheCommonChecksum) {
    const UploadRequest request = EncodeUploadRequest();
    EXPECT_EQ(Bytes(request.begin(), request.end()), (Bytes{0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD}));
    EXPECT_EQ(FrameChecksum(request, 2), 0x02);
}

TEST(FrameChecksum, SumsTheLengthAndPayloadButNotTheMarkers) {
    const Bytes frame{0xFE, 0x02, 0x80, 0x7F, 0x55, 0xFD};
    EXPECT_EQ(FrameChecksum(frame, 2), 0x01);  // 0x02 + 0x80 + 0x7F wraps to 0x01
    // Never reads past the bytes it is given, whatever the length byte claims.
    EXPECT_EQ(FrameChecksum(Bytes{0xFE, 0x0A, 0x01}, 10), 0x0B);
    EXPECT_EQ(FrameChecksum(Bytes{}, 10), 0x00);
}

struct ReplyCase {
    std::string name;
    Bytes received;
    size_t count;
    bool accepted;
};

Bytes Block(Bytes start, size_t size) {
    start.resize(size, 0x00);
    return start;
}

class DownloadAckAcceptance : public testing::TestWithParam<ReplyCase> {};

TEST_P(DownloadAckAcceptance, LooksAtTheCountAndTheFirstTwoBytesOnly) {
    const ReplyCase& row = GetParam();
    EXPECT_EQ(IsDownloadAck(row.received, row.count), row.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DownloadAckAcceptance,
    testing::Values(
        ReplyCase{"SixBytesStartingFE02", {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD}, 6, true},
        ReplyCase{"AnyLastFourBytes", {0xFE, 0x02, 0xAA, 0xBB, 0xCC, 0xDD}, 6, true},
        ReplyCase{"InTheZeroFilledReceiveBlock", Block({0xFE, 0x02, 1, 2, 3, 4}, 128), 6, true},
        ReplyCase{"FiveBytes", {0xFE, 0x02, 0x00, 0x02, 0xFD}, 5, false},
        ReplyCase{"SevenBytes", {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD, 0x00}, 7, false},
        ReplyCase{"WrongStart", {0xFF, 0x02, 0x00, 0x00, 0x02, 0xFD}, 6, false},
        ReplyCase{"WrongLength", {0xFE, 0x0A, 0x00, 0x00, 0x0A, 0xFD}, 6, false},
        ReplyCase{"UploadReplyShapedFourteenBytes", Block({0xFE, 0x02}, 14), 14, false},
        ReplyCase{"Nothing", {}, 0, false},
        ReplyCase{"NothingInTheBlock", Block({}, 128), 0, false},
        ReplyCase{"MoreWaitingThanTheBlockHolds", Block({0xFE, 0x02}, 128), 300, false},
        ReplyCase{"CountOfSixButNoBytesGiven", {}, 6, false}),
    [](const auto& row) { return row.param.name; });

class UploadReplyAcceptance : public testing::TestWithParam<ReplyCase> {};

TEST_P(UploadReplyAcceptance, LooksAtTheCountAndTheFirstTwoBytesOnly) {
    const ReplyCase& row = GetParam();
    EXPECT_EQ(DecodeUploadReply(row.received, row.count).has_value(), row.accepted);
}

const Bytes kReply{0xFE, 0x0A, 0x00, 0x01, 0xC2, 0x00, 0x02,
                   0x63, 0x03, 0xE8, 0x01, 0x00, 0x1E, 0xFD};

Bytes WithByte(Bytes bytes, size_t offset, uint8_t value) {
    bytes[offset] = value;
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Replies, UploadReplyAcceptance,
    testing::Values(ReplyCase{"FourteenBytesStartingFE0A", kReply, 14, true},
                    ReplyCase{"WrongChecksum", WithByte(kReply, 12, 0x00), 14, true},
                    ReplyCase{"WrongEndMarker", WithByte(kReply, 13, 0x00), 14, true},
                    ReplyCase{"ReservedByteSet", WithByte(kReply, 11, 0x77), 14, true},
                    ReplyCase{"InTheZeroFilledReceiveBlock", Block(kReply, 128), 14, true},
                    ReplyCase{"ThirteenBytes", kReply, 13, false},
                    ReplyCase{"FifteenBytes", Block(kReply, 15), 15, false},
                    ReplyCase{"WrongStart", WithByte(kReply, 0, 0xFF), 14, false},
                    ReplyCase{"StartsFE02", WithByte(kReply, 1, 0x02), 14, false},
                    ReplyCase{
                        "SixBytesStartingFE0A", {0xFE, 0x0A, 0x00, 0x00, 0x0A, 0xFD}, 6, false},
                    ReplyCase{"Nothing", {}, 0, false},
                    ReplyCase{"MoreWaitingThanTheBlockHolds", Block(kReply, 128), 129, false}),
    [](const auto& row) { return row.param.name; });

TEST(DecodeUploadReply, ReadsEveryFieldUnsignedWithoutRangeChecks) {
    const Bytes reply{0xFE, 0x0A, 0x80, 0x00, 0x00, 0x01, 0x05,
                      0xC8, 0x03, 0xE9, 0x07, 0x00, 0x00, 0x00};
    const std::optional<GatewaySettings> settings = DecodeUploadReply(reply, reply.size());
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->baudRate, 0x80000001u);
    EXPECT_EQ(settings->checkBit, 5);
    EXPECT_EQ(settings->slaveAddress, 200);
    EXPECT_EQ(settings->canBaudRate, 1001);
    EXPECT_EQ(settings->canProtocol, 7);
}

// The count says 14 bytes were waiting but fewer reached the block: the rest of the block is
// zeros, and the fields read them as zeros, never from beyond the bytes given.
TEST(DecodeUploadReply, ShortBlockReadsAsZeroFilled) {
    const Bytes partial{0xFE, 0x0A, 0x00, 0x00, 0x4B};
    const std::optional<GatewaySettings> settings = DecodeUploadReply(partial, 14);
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->baudRate, 0x00004B00u);
    EXPECT_EQ(settings->slaveAddress, 0);
    EXPECT_EQ(settings->canBaudRate, 0);
}

}  // namespace
}  // namespace rq508
