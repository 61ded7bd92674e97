#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "clock.h"
#include "serial_port_device.h"

namespace rq508 {

enum class OpenResult { Opened, OpenFailed, SettingsReadFailed, SettingsWriteFailed };

constexpr uint32_t kPollIntervalMs = 50;
constexpr uint32_t kReplyWindowMs = 300;
constexpr size_t kReceiveBlockSize = 128;

struct ReceivedBlock {
    std::array<uint8_t, kReceiveBlockSize> bytes{};  // zero beyond what was read
    uint32_t count = 0;                              // bytes that were waiting, may exceed 128
};

// The one connection to the gateway: opened for a single exchange at 19200 8N1, one frame sent,
// the reply collected within the window, closed again.
class SerialChannel {
public:
    SerialChannel(SerialPortDevice& device, Clock& clock);
    ~SerialChannel();
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    OpenResult Open(const std::string& portName);
    void Send(const uint8_t* bytes, size_t count);
    uint32_t WaitForInput();
    ReceivedBlock Receive(uint32_t waiting);
    void Close();
    bool IsOpen() const;

    // Why the last Open failed with OpenFailed, for messages beyond the window's.
    const PortError& LastOpenError() const;

private:
    SerialPortDevice& m_device;
    Clock& m_clock;
    bool m_open = false;
    uint32_t m_writeEndMs = 0;
    PortError m_lastOpenError;
};

}  // namespace rq508
