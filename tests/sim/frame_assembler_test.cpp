#include "sim/frame_assembler.h"

#include <gtest/gtest.h>

namespace rq508 {
namespace {

using Bytes = std::vector<uint8_t>;
using Kind = FrameAssembler::Event::Kind;

const Bytes kDownload = {0xFE, 0x0A, 0x00, 0x00, 0x4B, 0x00, 0x00,
                         0x01, 0x00, 0x7D, 0x00, 0x00, 0xD3, 0xFD};
const Bytes kRequest = {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

struct Arrival {
    const char* name;
    std::vector<Bytes> pieces;
    // The events in order, the kind and the bytes of each.
    std::vector<std::pair<Kind, Bytes>> expected;
    bool leftPending = false;
};

class FrameAssemblerTest : public ::testing::TestWithParam<Arrival> {};

TEST_P(FrameAssemblerTest, DeliversFramesAndReportsWhatItPassesOver) {
    FrameAssembler assembler;
    std::vector<std::pair<Kind, Bytes>> events;
    for (const Bytes& piece : GetParam().pieces) {
        for (const FrameAssembler::Event& event : assembler.Push(piece)) {
            events.emplace_back(event.kind, event.bytes);
        }
    }
    EXPECT_EQ(events, GetParam().expected);
    EXPECT_EQ(assembler.HasPending(), GetParam().leftPending);
}

Bytes WithBadChecksum(Bytes frame) {
    frame[frame.size() - 2] ^= 0x01;
    return frame;
}

INSTANTIATE_TEST_SUITE_P(
    Streams, FrameAssemblerTest,
    ::testing::Values(
        Arrival{"WholeDownloadFrame", {kDownload}, {{Kind::Frame, kDownload}}},
        Arrival{"OneByteAtATime",
                [] {
                    std::vector<Bytes> pieces;
                    for (uint8_t byte : kRequest) {
                        pieces.push_back({byte});
                    }
                    return pieces;
                }(),
                {{Kind::Frame, kRequest}}},
        Arrival{"JunkBeforeTheStartMarker",
                {Join({{0x00, 0x11}, kRequest})},
                {{Kind::Skipped, {0x00, 0x11}}, {Kind::Frame, kRequest}}},
        Arrival{"TwoFramesInOnePiece",
                {Join({kRequest, kDownload})},
                {{Kind::Frame, kRequest}, {Kind::Frame, kDownload}}},
        Arrival{"UnknownLengthSkipsTheMarkerOnly",
                {Join({{0xFE, 0x05}, kRequest})},
                {{Kind::Skipped, {0xFE}}, {Kind::Skipped, {0x05}}, {Kind::Frame, kRequest}}},
        Arrival{"BadChecksumRejectedThenResynchronised",
                {Join({WithBadChecksum(kRequest), kRequest})},
                {{Kind::Rejected, WithBadChecksum(kRequest)},
                 {Kind::Skipped, {0x02, 0x00, 0x00, 0x03, 0xFD}},
                 {Kind::Frame, kRequest}}},
        Arrival{"StartMarkerInsideARejectedFrameIsFound",
                {Join({{0xFE, 0x02, 0x00}, kRequest})},
                {{Kind::Rejected, {0xFE, 0x02, 0x00, 0xFE, 0x02, 0x00}},
                 {Kind::Skipped, {0x02, 0x00}},
                 {Kind::Frame, kRequest}}},
        Arrival{
            "UnfinishedFrameWaits", {Bytes(kDownload.begin(), kDownload.begin() + 9)}, {}, true}),
    [](const auto& row) { return row.param.name; });

TEST(FrameAssembler, DroppingAnUnfinishedFrameLetsTheNextOneThrough) {
    FrameAssembler assembler;
    assembler.Push(Bytes(kDownload.begin(), kDownload.begin() + 9));
    EXPECT_EQ(assembler.DropPending(), Bytes(kDownload.begin(), kDownload.begin() + 9));
    const auto events = assembler.Push(kRequest);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].bytes, kRequest);
}

}  // namespace
}  // namespace rq508
