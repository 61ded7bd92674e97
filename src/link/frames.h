#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "settings/gateway_settings.h"

namespace rq508 {

// Every frame: FE, payload length, payload, checksum, FD. The checksum is the low byte of the
// sum of the length byte and the payload; the start marker is not summed.
constexpr uint8_t kFrameStart = 0xFE;
constexpr uint8_t kFrameEnd = 0xFD;
constexpr size_t kDownloadFrameSize = 14;
constexpr size_t kUploadRequestSize = 6;
constexpr size_t kDownloadAckSize = 6;
constexpr size_t kUploadReplySize = 14;

using DownloadFrame = std::array<uint8_t, kDownloadFrameSize>;
using UploadRequest = std::array<uint8_t, kUploadRequestSize>;

uint8_t FrameChecksum(std::span<const uint8_t> frame, uint8_t payloadLength);

DownloadFrame EncodeDownloadFrame(const GatewaySettings& settings);
UploadRequest EncodeUploadRequest();

// A reply is judged by the count of bytes that were waiting, which may differ from the bytes
// handed in (only the first 128 are read). Bytes beyond those handed in read as 0, as in the
// zero-filled receive block. The acceptance tests examine only the count and the first two bytes.
bool IsDownloadAck(std::span<const uint8_t> received, size_t count);
std::optional<GatewaySettings> DecodeUploadReply(std::span<const uint8_t> received, size_t count);

}  // namespace rq508
