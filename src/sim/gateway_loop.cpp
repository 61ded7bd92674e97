#include "gateway_loop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "link/frame_text.h"

namespace rq508 {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// A frame that stops arriving halfway is given up after this long without a byte, as a real
// device resets its receiver, so that a torn frame does not spoil the next request.
constexpr milliseconds kFrameGapLimit{1000};
// Far longer than any transaction (at most about 350 ms): after this long without a byte from
// the tool, no program can be in the middle of an exchange on the port.
constexpr milliseconds kQuietBeforeClearingExclusiveUse{2000};
constexpr size_t kReadChunk = 4096;

std::string EventText(const FrameAssembler::Event& event) {
    const std::string bytes = HexText(event.bytes.data(), event.bytes.size());
    if (event.kind == FrameAssembler::Event::Kind::Rejected) {
        return "ignored " + bytes + " (wrong checksum or end marker)";
    }
    return "skipped " + bytes;
}

}  // namespace

GatewayLoop::GatewayLoop(PseudoTerminal& terminal, VirtualGateway& gateway,
                         const Misbehaviour& misbehaviour, Hooks hooks)
    : m_terminal(terminal),
      m_gateway(gateway),
      m_misbehaviour(misbehaviour),
      m_hooks(std::move(hooks)),
      m_lastByte(steady_clock::now()) {}

void GatewayLoop::LeaveStaleBytes() {
    const std::vector<uint8_t> stale = m_gateway.StaleBytes();
    if (stale.empty()) {
        return;
    }
    m_outgoing.push_back({steady_clock::now(), stale});
    WriteDuePieces();
}

int GatewayLoop::Run(int stopFd, int stdinFd) {
    while (!m_hungUp) {
        const bool wantsToWrite =
            !m_outgoing.empty() && m_outgoing.front().due <= steady_clock::now();
        std::array<pollfd, 3> fds{{
            {stopFd, POLLIN, 0},
            {m_terminal.MasterFd(), static_cast<short>(POLLIN | (wantsToWrite ? POLLOUT : 0)), 0},
            {stdinFd, POLLIN, 0},
        }};
        const nfds_t count = stdinFd >= 0 ? 3 : 2;
        if (poll(fds.data(), count, wantsToWrite ? -1 : PollTimeoutMs()) < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_hooks.log(std::string("error: poll failed: ") + std::strerror(errno));
            return 1;
        }
        if (fds[0].revents != 0) {
            return 0;
        }
        if (count == 3 && fds[2].revents != 0) {
            char discard[256];
            if (read(stdinFd, discard, sizeof discard) <= 0) {
                return 0;
            }
        }
        if ((fds[1].revents & POLLIN) != 0 && !ReadLine()) {
            return m_hungUp ? 0 : 1;
        }
        if (!WriteDuePieces()) {
            return 1;
        }
        ClearExclusiveUseWhenQuiet();
        if (m_assembler.HasPending() && steady_clock::now() - m_lastByte >= kFrameGapLimit) {
            const std::vector<uint8_t> torn = m_assembler.DropPending();
            m_hooks.log("dropped " + HexText(torn.data(), torn.size()) + " (frame unfinished)");
        }
    }
    return 0;
}

bool GatewayLoop::ReadLine() {
    std::array<uint8_t, kReadChunk> buffer;
    const ssize_t got = read(m_terminal.MasterFd(), buffer.data(), buffer.size());
    if (got < 0) {
        if (errno == EAGAIN || errno == EINTR) {
            return true;
        }
        m_hooks.log(std::string("error: cannot read the line: ") + std::strerror(errno));
        return false;
    }
    m_lastByte = steady_clock::now();
    m_exclusiveUseCleared = false;
    for (const FrameAssembler::Event& event :
         m_assembler.Push(std::span(buffer).first(static_cast<size_t>(got)))) {
        if (!Handle(event)) {
            return false;
        }
    }
    return true;
}

bool GatewayLoop::Handle(const FrameAssembler::Event& event) {
    if (event.kind != FrameAssembler::Event::Kind::Frame) {
        m_hooks.log(EventText(event));
        return true;
    }
    const Answer answer = m_gateway.Receive(event.bytes);
    if (answer.hangUp) {
        m_terminal.Close();
        m_hungUp = true;
        m_hooks.log(answer.logLine);
        return false;
    }
    Schedule(answer.reply, steady_clock::now());
    // The log line comes after the reply is on its way, so that a reader of the log never
    // waits on the line.
    WriteDuePieces();
    if (answer.settingsChanged) {
        m_hooks.settingsKept(m_gateway.Settings());
    }
    m_hooks.log(answer.logLine);
    return true;
}

void GatewayLoop::Schedule(const std::vector<uint8_t>& reply, TimePoint start) {
    TimePoint due = start + milliseconds(m_misbehaviour.delayMs);
    const size_t pieceSize =
        m_misbehaviour.splitBytes > 0 ? m_misbehaviour.splitBytes : reply.size();
    for (size_t offset = 0; offset < reply.size(); offset += pieceSize) {
        const size_t end = std::min(reply.size(), offset + pieceSize);
        m_outgoing.push_back({due, {reply.begin() + offset, reply.begin() + end}});
        due += milliseconds(m_misbehaviour.pauseMs);
    }
}

bool GatewayLoop::WriteDuePieces() {
    while (!m_outgoing.empty() && m_outgoing.front().due <= steady_clock::now()) {
        Piece& piece = m_outgoing.front();
        const ssize_t written = write(m_terminal.MasterFd(), piece.bytes.data() + piece.sent,
                                      piece.bytes.size() - piece.sent);
        if (written < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                return true;  // the line is full: poll says when it drains
            }
            m_hooks.log(std::string("error: cannot write to the line: ") + std::strerror(errno));
            return false;
        }
        piece.sent += static_cast<size_t>(written);
        if (piece.sent == piece.bytes.size()) {
            m_outgoing.pop_front();
        }
    }
    return true;
}

// A program killed while it held the port leaves the terminal exclusive; once the line has been
// quiet long enough that no exchange can be under way, the gateway makes it free again.
void GatewayLoop::ClearExclusiveUseWhenQuiet() {
    if (!m_exclusiveUseCleared &&
        steady_clock::now() - m_lastByte >= kQuietBeforeClearingExclusiveUse) {
        m_terminal.ClearExclusiveUse();
        m_exclusiveUseCleared = true;
    }
}

int GatewayLoop::PollTimeoutMs() const {
    using std::chrono::ceil;
    const TimePoint now = steady_clock::now();
    std::optional<TimePoint> wake;
    if (!m_outgoing.empty()) {
        wake = m_outgoing.front().due;
    }
    if (m_assembler.HasPending()) {
        const TimePoint giveUp = m_lastByte + kFrameGapLimit;
        wake = wake ? std::min(*wake, giveUp) : giveUp;
    }
    if (!m_exclusiveUseCleared) {
        const TimePoint clear = m_lastByte + kQuietBeforeClearingExclusiveUse;
        wake = wake ? std::min(*wake, clear) : clear;
    }
    if (!wake) {
        return -1;
    }
    return static_cast<int>(std::max<int64_t>(0, ceil<milliseconds>(*wake - now).count()));
}

}  // namespace rq508
