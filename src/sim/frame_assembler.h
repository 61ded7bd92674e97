#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace rq508 {

// Gathers the frames a gateway receives from a byte stream that may arrive in any pieces.
// Bytes before a start marker are skipped; a start marker followed by a length the gateway does
// not know, or a frame whose checksum or end marker is wrong, is dropped and the search for the
// next start marker resumes right after that marker.
class FrameAssembler {
public:
    struct Event {
        enum class Kind { Frame, Skipped, Rejected } kind;
        std::vector<uint8_t> bytes;  // the frame, or the bytes skipped or rejected
    };

    std::vector<Event> Push(std::span<const uint8_t> bytes);

    // Gives up an unfinished frame (the line has been quiet too long); its bytes, if any.
    std::vector<uint8_t> DropPending();
    bool HasPending() const { return !m_pending.empty(); }

private:
    std::vector<Event> Drain();

    std::vector<uint8_t> m_pending;
};

}  // namespace rq508
