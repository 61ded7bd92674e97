#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/serial_port_device.h"

namespace rq508::testing {

// A clock that only moves when the code under test sleeps (or a test says so).
class FakeClock : public Clock {
public:
    explicit FakeClock(uint32_t startMs = 1000) : m_now(startMs) {}
    uint32_t NowMs() override { return m_now; }
    void SleepMs(uint32_t milliseconds) override { m_now += milliseconds; }
    void Advance(uint32_t milliseconds) { m_now += milliseconds; }

private:
    uint32_t m_now;
};

// Bytes the gateway puts on the line, a given time after the frame was written.
struct Arrival {
    uint32_t afterWriteMs;
    std::vector<uint8_t> bytes;
};

// A port whose failures and replies a test scripts; it logs every call in order.
class FakeSerialPort : public SerialPortDevice {
public:
    explicit FakeSerialPort(FakeClock& clock) : m_clock(clock) {}

    // Script.
    bool failOpen = false;
    PortError openError{PortFailureKind::NotFound, "No such file or directory", ""};
    bool failReadSettings = false;
    bool failWriteSettings = false;
    LineSettings initialSettings{9600, 7, Parity::Even, StopBits::Two};
    uint32_t writeDurationMs = 0;
    std::vector<Arrival> reply;

    // Record.
    std::vector<std::string> calls;
    std::vector<uint8_t> written;
    LineSettings writtenSettings;
    std::vector<uint32_t> lookTimes;  // clock readings at each count of waiting bytes
    std::vector<size_t> readRequests;
    bool open = false;

    bool Open(const std::string& name, PortError& error) override {
        calls.push_back("Open " + name);
        if (failOpen) {
            error = openError;
            return false;
        }
        open = true;
        return true;
    }
    bool ReadLineSettings(LineSettings& settings) override {
        calls.push_back("ReadLineSettings");
        settings = initialSettings;
        return !failReadSettings;
    }
    bool WriteLineSettings(const LineSettings& settings) override {
        calls.push_back("WriteLineSettings");
        writtenSettings = settings;
        return !failWriteSettings;
    }
    void Purge() override {
        calls.push_back("Purge");
        m_line.clear();
    }
    uint32_t WaitingByteCount() override {
        calls.push_back("WaitingByteCount");
        lookTimes.push_back(m_clock.NowMs());
        Deliver();
        return static_cast<uint32_t>(m_line.size());
    }
    void Write(const uint8_t* bytes, size_t count) override {
        calls.push_back("Write");
        written.insert(written.end(), bytes, bytes + count);
        m_clock.Advance(writeDurationMs);
        m_writeEnd = m_clock.NowMs();
        m_pending = reply;
    }
    size_t Read(uint8_t* bytes, size_t count) override {
        calls.push_back("Read");
        readRequests.push_back(count);
        Deliver();
        const size_t taken = std::min(count, m_line.size());
        std::copy_n(m_line.begin(), taken, bytes);
        m_line.erase(m_line.begin(), m_line.begin() + static_cast<ptrdiff_t>(taken));
        return taken;
    }
    void Close() override {
        calls.push_back("Close");
        open = false;
    }

    // Puts bytes on the line as if they had arrived before the port was opened.
    void Inject(const std::vector<uint8_t>& bytes) {
        m_line.insert(m_line.end(), bytes.begin(), bytes.end());
    }

private:
    void Deliver() {
        for (auto it = m_pending.begin(); it != m_pending.end();) {
            if (static_cast<uint32_t>(m_clock.NowMs() - m_writeEnd) >= it->afterWriteMs) {
                m_line.insert(m_line.end(), it->bytes.begin(), it->bytes.end());
                it = m_pending.erase(it);
            } else {
                ++it;
            }
        }
    }

    FakeClock& m_clock;
    uint32_t m_writeEnd = 0;
    std::vector<Arrival> m_pending;
    std::vector<uint8_t> m_line;
};

}  // namespace rq508::testing
