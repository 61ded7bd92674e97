#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "frame_assembler.h"
#include "pseudo_terminal.h"
#include "virtual_gateway.h"

namespace rq508 {

// The virtual gateway's life on its line: reads what the tool sends, gathers frames, answers
// them when and how the misbehaviour says, and stops on a shutdown signal, on end of standard
// input when watched, or after hanging up. One thread, one poll; never blocks on the line.
class GatewayLoop {
public:
    struct Hooks {
        std::function<void(const std::string&)> log;               // one line per event
        std::function<void(const GatewaySettings&)> settingsKept;  // after a download is kept
    };

    GatewayLoop(PseudoTerminal& terminal, VirtualGateway& gateway, const Misbehaviour& misbehaviour,
                Hooks hooks);

    // Puts the stale bytes into the line, if any; done before the port is made known.
    void LeaveStaleBytes();

    // Runs until told to stop. stopFd becomes readable on a shutdown signal; stdinFd is -1
    // unless its end should end the gateway. Returns the process's exit status.
    int Run(int stopFd, int stdinFd);

private:
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Piece {
        TimePoint due;
        std::vector<uint8_t> bytes;
        size_t sent = 0;
    };

    void Schedule(const std::vector<uint8_t>& reply, TimePoint start);
    bool ReadLine();
    bool Handle(const FrameAssembler::Event& event);
    bool WriteDuePieces();
    int PollTimeoutMs() const;
    void ClearExclusiveUseWhenQuiet();

    PseudoTerminal& m_terminal;
    VirtualGateway& m_gateway;
    Misbehaviour m_misbehaviour;
    Hooks m_hooks;
    FrameAssembler m_assembler;
    std::deque<Piece> m_outgoing;
    TimePoint m_lastByte;
    bool m_exclusiveUseCleared = false;
    bool m_hungUp = false;
};

}  // namespace rq508
