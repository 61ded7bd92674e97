// How it works: Open claims the port and sets 19200 8N1, Send writes one frame and notes the
// time the write returned, WaitForInput looks at the input queue every 50 ms until something
// waits or the first look made more than 300 ms after the write, Receive reads at most one
// 128-byte block of what was counted. The reply is judged by the caller.
#include "serial_channel.h"

#include <algorithm>

namespace rq508 {
namespace {

constexpr uint32_t kLineSpeed = 19200;

}  // namespace

SerialChannel::SerialChannel(SerialPortDevice& device, Clock& clock)
    : m_device(device), m_clock(clock) {}

SerialChannel::~SerialChannel() {
    Close();
}

OpenResult SerialChannel::Open(const std::string& portName) {
    Close();  // a port left open by a caller would otherwise be lost
    m_lastOpenError = {};
    if (!m_device.Open(portName, m_lastOpenError)) {
        return OpenResult::OpenFailed;
    }
    LineSettings settings;
    if (!m_device.ReadLineSettings(settings)) {
        m_device.Close();
        return OpenResult::SettingsReadFailed;
    }
    settings.baudRate = kLineSpeed;
    settings.dataBits = 8;
    settings.parity = Parity::None;
    settings.stopBits = StopBits::One;
    if (!m_device.WriteLineSettings(settings)) {
        m_device.Close();
        return OpenResult::SettingsWriteFailed;
    }
    m_device.Purge();
    m_open = true;
    return OpenResult::Opened;
}

void SerialChannel::Send(const uint8_t* bytes, size_t count) {
    if (!m_open) {
        return;
    }
    m_device.WaitingByteCount();  // clears a pending line error that would stop the transfer
    m_device.Write(bytes, count);
    // The window starts when the write has returned, so a slow write does not eat into it.
    m_writeEndMs = m_clock.NowMs();
}

uint32_t SerialChannel::WaitForInput() {
    if (!m_open) {
        return 0;
    }
    for (;;) {
        m_clock.SleepMs(kPollIntervalMs);
        const uint32_t waiting = m_device.WaitingByteCount();
        // A signed 32-bit difference stays right when the millisecond clock wraps.
        const auto elapsed = static_cast<int32_t>(m_clock.NowMs() - m_writeEndMs);
        if (elapsed > static_cast<int32_t>(kReplyWindowMs) || waiting > 0) {
            return waiting;
        }
    }
}

ReceivedBlock SerialChannel::Receive(uint32_t waiting) {
    ReceivedBlock block;
    block.count = waiting;
    const size_t wanted = std::min<size_t>(waiting, kReceiveBlockSize);
    if (m_open && wanted > 0) {
        m_device.Read(block.bytes.data(), wanted);
    }
    return block;
}

void SerialChannel::Close() {
    if (m_open) {
        m_device.Close();
        m_open = false;
    }
}

bool SerialChannel::IsOpen() const {
    return m_open;
}

const PortError& SerialChannel::LastOpenError() const {
    return m_lastOpenError;
}

}  // namespace rq508
