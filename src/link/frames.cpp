#include "frames.h"

namespace rq508 {
namespace {

constexpr uint8_t kSettingsPayloadLength = 10;
constexpr uint8_t kShortPayloadLength = 2;

// The receive block is zero-filled beyond the bytes read, so a byte past the end of what was
// handed in reads as 0, never from outside it.
uint8_t ByteAt(std::span<const uint8_t> received, size_t offset) {
    return offset < received.size() ? received[offset] : 0;
}

bool StartsFrame(std::span<const uint8_t> received, size_t count, size_t size, uint8_t length) {
    return count == size && ByteAt(received, 0) == kFrameStart && ByteAt(received, 1) == length;
}

}  // namespace

uint8_t FrameChecksum(std::span<const uint8_t> frame, uint8_t payloadLength) {
    uint8_t sum = 0;
    for (size_t i = 1; i <= 1u + payloadLength && i < frame.size(); ++i) {
        sum = static_cast<uint8_t>(sum + frame[i]);
    }
    return sum;
}

DownloadFrame EncodeDownloadFrame(const GatewaySettings& settings) {
    DownloadFrame frame{};
    frame[0] = kFrameStart;
    frame[1] = kSettingsPayloadLength;
    frame[2] = static_cast<uint8_t>(settings.baudRate >> 24);
    frame[3] = static_cast<uint8_t>(settings.baudRate >> 16);
    frame[4] = static_cast<uint8_t>(settings.baudRate >> 8);
    frame[5] = static_cast<uint8_t>(settings.baudRate);
    frame[6] = settings.checkBit;
    frame[7] = settings.slaveAddress;
    frame[8] = static_cast<uint8_t>(settings.canBaudRate >> 8);
    frame[9] = static_cast<uint8_t>(settings.canBaudRate);
    frame[10] = settings.canProtocol;
    frame[12] = FrameChecksum(frame, kSettingsPayloadLength);
    frame[13] = kFrameEnd;
    return frame;
}

UploadRequest EncodeUploadRequest() {
    UploadRequest request{kFrameStart, kShortPayloadLength, 0x00, 0x00, 0x00, kFrameEnd};
    request[4] = FrameChecksum(request, kShortPayloadLength);
    return request;
}

bool IsDownloadAck(std::span<const uint8_t> received, size_t count) {
    return StartsFrame(received, count, kDownloadAckSize, kShortPayloadLength);
}

std::optional<GatewaySettings> DecodeUploadReply(std::span<const uint8_t> received, size_t count) {
    if (!StartsFrame(received, count, kUploadReplySize, kSettingsPayloadLength)) {
        return std::nullopt;
    }
    const auto at = [received](size_t offset) { return ByteAt(received, offset); };
    GatewaySettings settings;
    settings.baudRate = static_cast<uint32_t>(at(2)) << 24 | static_cast<uint32_t>(at(3)) << 16 |
                        static_cast<uint32_t>(at(4)) << 8 | at(5);
    settings.checkBit = at(6);
    settings.slaveAddress = at(7);
    settings.canBaudRate = static_cast<uint16_t>(at(8) << 8 | at(9));
    settings.canProtocol = at(10);
    return settings;
}

}  // namespace rq508
