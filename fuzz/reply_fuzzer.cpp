// Fuzz target for the acceptance of gateway replies. The first input byte is the count of bytes
// that were waiting; the rest are the bytes read, which may be fewer or more than that count.
//
// Invariants: each test accepts exactly the replies of its length that begin with its two bytes;
// the verdicts on the bytes alone equal those on the zero-filled 128-byte receive block holding
// them; and a decoded reply encodes back to the same fields at offsets 2 to 10.

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "link/frames.h"

namespace rq508 {
namespace {

constexpr size_t kReceiveBlockSize = 128;

uint8_t ByteAt(std::span<const uint8_t> bytes, size_t offset) {
    return offset < bytes.size() ? bytes[offset] : 0;
}

void CheckReply(std::span<const uint8_t> received, size_t count) {
    const bool ack = IsDownloadAck(received, count);
    Require(ack == (count == kDownloadAckSize && ByteAt(received, 0) == 0xFE &&
                    ByteAt(received, 1) == 0x02),
            "an ack is 6 bytes starting FE 02");

    const std::optional<GatewaySettings> settings = DecodeUploadReply(received, count);
    Require(settings.has_value() == (count == kUploadReplySize && ByteAt(received, 0) == 0xFE &&
                                     ByteAt(received, 1) == 0x0A),
            "an upload reply is 14 bytes starting FE 0A");
    Require(!(ack && settings), "no reply is both");
    if (!settings) {
        return;
    }
    const DownloadFrame frame = EncodeDownloadFrame(*settings);
    for (size_t offset = 2; offset <= 10; ++offset) {
        Require(frame[offset] == ByteAt(received, offset),
                "a decoded reply encodes back to the same fields");
    }
    Require(DecodeUploadReply(frame, frame.size()) == settings, "an encoded frame decodes back");
}

}  // namespace
}  // namespace rq508

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace rq508;
    if (size == 0) {
        CheckReply({}, 0);
        return 0;
    }
    const size_t count = data[0];
    const std::span<const uint8_t> bytes{data + 1, size - 1};
    CheckReply(bytes, count);
    CheckReply(bytes, bytes.size());

    std::array<uint8_t, kReceiveBlockSize> block{};
    const size_t read = std::min({count, bytes.size(), block.size()});
    std::copy_n(bytes.begin(), read, block.begin());
    CheckReply(block, count);
    Require(IsDownloadAck(block, count) == IsDownloadAck(bytes.first(read), count),
            "the zero-filled block gives the same ack verdict");
    Require(DecodeUploadReply(block, count) == DecodeUploadReply(bytes.first(read), count),
            "the zero-filled block decodes the same");
    return 0;
}
