#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "settings/gateway_settings.h"
#include "sim_options.h"

namespace rq508 {

// What the gateway does about one received frame.
struct Answer {
    std::vector<uint8_t> reply;  // the bytes to send back, as many as the misbehaviour says
    bool hangUp = false;         // close the line instead of answering
    bool settingsChanged = false;
    std::string logLine;  // "download 19200 None 1 125K CAN2.0 A < FE 0A ... > FE 02 ..."
};

// The five settings of a virtual RQ-508 and its answers to download frames and upload
// requests, shaped by the misbehaviour it was told to show.
class VirtualGateway {
public:
    VirtualGateway(const GatewaySettings& initial, const Misbehaviour& misbehaviour);

    // The frame is a sound download frame or upload request, as the assembler delivers it.
    Answer Receive(std::span<const uint8_t> frame);

    const GatewaySettings& Settings() const { return m_settings; }

    // The bytes that wait in the line at start when told to leave stale ones.
    std::vector<uint8_t> StaleBytes() const;

private:
    std::vector<uint8_t> SoundReply(std::span<const uint8_t> frame) const;
    std::vector<uint8_t> ShapedReply(std::span<const uint8_t> frame) const;

    GatewaySettings m_settings;
    Misbehaviour m_misbehaviour;
};

// Bytes that start no frame: never 0xFE.
std::vector<uint8_t> GarbageBytes(size_t count);

}  // namespace rq508
