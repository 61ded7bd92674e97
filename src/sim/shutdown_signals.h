#pragma once

namespace rq508 {

// Turns SIGINT, SIGTERM and SIGHUP into a readable descriptor (a self-pipe), so the gateway's
// poll loop ends cleanly and can tidy up. SIGPIPE is ignored: a closed log reader must not kill
// the gateway before it has withdrawn its announcement.
class ShutdownSignals {
public:
    ShutdownSignals();
    ~ShutdownSignals();
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    bool IsValid() const { return m_readFd >= 0; }
    // Becomes readable when one of the signals has arrived.
    int ReadFd() const { return m_readFd; }

private:
    int m_readFd = -1;
};

}  // namespace rq508
