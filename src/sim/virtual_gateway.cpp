#include "virtual_gateway.h"

#include <algorithm>

#include "link/frame_text.h"
#include "link/frames.h"
#include "settings/settings_conversion.h"

namespace rq508 {
namespace {

// Longer replies are logged by their size, so that a flood does not flood the log.
constexpr size_t kLoggedReplyBytes = 32;

// The acknowledgement the RQ-508 sends: the upload request's layout, two zero payload bytes.
std::vector<uint8_t> DownloadAck() {
    const UploadRequest ack = EncodeUploadRequest();
    return {ack.begin(), ack.end()};
}

GatewaySettings DecodeDownloadFrame(std::span<const uint8_t> frame) {
    // A download frame and an upload reply share their layout.
    return *DecodeUploadReply(frame, frame.size());
}

std::string SentText(const Answer& answer) {
    if (answer.hangUp) {
        return "hangup";
    }
    if (answer.reply.empty()) {
        return "nothing";
    }
    if (answer.reply.size() > kLoggedReplyBytes) {
        return std::to_string(answer.reply.size()) + " bytes";
    }
    return HexText(answer.reply.data(), answer.reply.size());
}

}  // namespace

VirtualGateway::VirtualGateway(const GatewaySettings& initial, const Misbehaviour& misbehaviour)
    : m_settings(initial), m_misbehaviour(misbehaviour) {}

Answer VirtualGateway::Receive(std::span<const uint8_t> frame) {
    const bool isDownload = frame.size() == kDownloadFrameSize;
    const bool keeps = !m_misbehaviour.silent && !m_misbehaviour.hangup && !m_misbehaviour.echo &&
                       !m_misbehaviour.readOnly;
    Answer answer;
    if (isDownload && keeps) {
        const GatewaySettings received = DecodeDownloadFrame(frame);
        answer.settingsChanged = received != m_settings;
        m_settings = received;
    }
    answer.hangUp = m_misbehaviour.hangup;
    if (!m_misbehaviour.silent && !m_misbehaviour.hangup) {
        answer.reply = ShapedReply(frame);
    }
    // A download logs the settings it carried, an upload the settings it reported.
    const GatewaySettings shown = isDownload ? DecodeDownloadFrame(frame) : m_settings;
    answer.logLine = std::string(isDownload ? "download " : "upload ") + SettingsSummary(shown) +
                     " < " + HexText(frame.data(), frame.size()) + " > " + SentText(answer);
    return answer;
}

std::vector<uint8_t> VirtualGateway::SoundReply(std::span<const uint8_t> frame) const {
    if (frame.size() == kDownloadFrameSize) {
        return DownloadAck();
    }
    // The upload reply has the download frame's layout, carrying the settings held.
    const DownloadFrame reply = EncodeDownloadFrame(m_settings);
    return {reply.begin(), reply.end()};
}

std::vector<uint8_t> VirtualGateway::ShapedReply(std::span<const uint8_t> frame) const {
    const Misbehaviour& m = m_misbehaviour;
    std::vector<uint8_t> reply = SoundReply(frame);
    if (m.echo) {
        reply.assign(frame.begin(), frame.end());
    } else if (m.garbage) {
        reply = GarbageBytes(reply.size());
    } else if (m.floodBytes > 0) {
        const std::vector<uint8_t> unit = reply;
        reply.resize(m.floodBytes);
        for (size_t i = unit.size(); i < reply.size(); ++i) {
            reply[i] = unit[i % unit.size()];
        }
    }
    if (m.badChecksum && reply.size() >= 2) {
        reply[reply.size() - 2] ^= 0xFF;
    }
    if (m.wrongLength) {
        reply.push_back(0x00);
    }
    if (m.partialBytes) {
        reply.resize(std::min(reply.size(), *m.partialBytes));
    }
    return reply;
}

std::vector<uint8_t> VirtualGateway::StaleBytes() const {
    return GarbageBytes(m_misbehaviour.staleBytes);
}

std::vector<uint8_t> GarbageBytes(size_t count) {
    static constexpr uint8_t kPattern[] = {0x55, 0xAA, 0x00, 0xFF, 0x13, 0x11, 0x0D, 0x0A};
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = kPattern[i % std::size(kPattern)];
    }
    return bytes;
}

}  // namespace rq508
