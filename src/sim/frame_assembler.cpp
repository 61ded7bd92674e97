#include "frame_assembler.h"

#include <algorithm>
#include <utility>

#include "link/frames.h"

namespace rq508 {
namespace {

// The payload lengths of the frames a gateway is sent: a download frame and an upload request.
bool IsKnownPayloadLength(uint8_t length) {
    return length == kDownloadFrameSize - 4 || length == kUploadRequestSize - 4;
}

bool IsSound(std::span<const uint8_t> frame) {
    const auto length = static_cast<uint8_t>(frame.size() - 4);
    return frame[frame.size() - 2] == FrameChecksum(frame, length) && frame.back() == kFrameEnd;
}

}  // namespace

std::vector<FrameAssembler::Event> FrameAssembler::Push(std::span<const uint8_t> bytes) {
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    return Drain();
}

std::vector<uint8_t> FrameAssembler::DropPending() {
    return std::exchange(m_pending, {});
}

std::vector<FrameAssembler::Event> FrameAssembler::Drain() {
    std::vector<Event> events;
    const auto skip = [&](Event::Kind kind, size_t count) {
        events.push_back({kind, {m_pending.begin(), m_pending.begin() + count}});
        m_pending.erase(m_pending.begin(), m_pending.begin() + count);
    };
    while (!m_pending.empty()) {
        const auto start = std::find(m_pending.begin(), m_pending.end(), kFrameStart);
        if (start != m_pending.begin()) {
            skip(Event::Kind::Skipped, start - m_pending.begin());
            continue;
        }
        if (m_pending.size() < 2) {
            break;
        }
        if (!IsKnownPayloadLength(m_pending[1])) {
            skip(Event::Kind::Skipped, 1);
            continue;
        }
        const size_t size = m_pending[1] + 4u;
        if (m_pending.size() < size) {
            break;
        }
        if (!IsSound(std::span(m_pending).first(size))) {
            events.push_back(
                {Event::Kind::Rejected, {m_pending.begin(), m_pending.begin() + size}});
            m_pending.erase(m_pending.begin());
            continue;
        }
        skip(Event::Kind::Frame, size);
    }
    return events;
}

}  // namespace rq508
