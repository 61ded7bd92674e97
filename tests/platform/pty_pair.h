#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace rq508::testing {

// A pseudo-terminal whose slave stands in for a serial port. The test holds the master (the
// gateway's end) and, as a virtual gateway does, one slave descriptor of its own, so that the
// port's close does not hang up the pair. The line starts in the kernel's default (cooked,
// echoing) mode, so a port that fails to set raw mode shows it.
class PtyPair {
public:
    PtyPair() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0) {
            m_slavePath = ::ptsname(m_master);
            m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        }
    }
    ~PtyPair() {
        CloseMaster();
        if (m_slave >= 0) {
            ::close(m_slave);
        }
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ready() const { return m_master >= 0 && m_slave >= 0; }
    const std::string& SlavePath() const { return m_slavePath; }
    int SlaveFd() const { return m_slave; }

    void WriteMaster(const std::vector<uint8_t>& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                return;
            }
            done += static_cast<size_t>(n);
        }
    }

    // Reads until count bytes came or nothing more came for quietMs.
    std::vector<uint8_t> ReadMaster(size_t count, int quietMs = 5000) {
        std::vector<uint8_t> bytes;
        while (bytes.size() < count) {
            pollfd entry{m_master, POLLIN, 0};
            if (::poll(&entry, 1, quietMs) <= 0 || (entry.revents & POLLIN) == 0) {
                break;
            }
            uint8_t buffer[256];
            const ssize_t n =
                ::read(m_master, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (n <= 0) {
                break;
            }
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
        return bytes;
    }

    // The gateway's end goes away: the kernel hangs up the slave.
    void CloseMaster() {
        if (m_master >= 0) {
            ::close(m_master);
            m_master = -1;
        }
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

// A gateway on the master end, on its own thread: waits for a request of the given size,
// records it, then answers, or hangs up when told to.
class PtyGateway {
public:
    PtyGateway(PtyPair& pair, size_t requestSize, std::vector<uint8_t> answer, bool hangUp = false)
        : m_thread([this, &pair, requestSize, answer, hangUp] {
              request = pair.ReadMaster(requestSize);
              if (hangUp) {
                  pair.CloseMaster();
              } else {
                  pair.WriteMaster(answer);
              }
          }) {}
    ~PtyGateway() { Join(); }
    void Join() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    std::vector<uint8_t> request;  // read it after Join

private:
    std::thread m_thread;
};

}  // namespace rq508::testing
