#pragma once

#include <chrono>
#include <ostream>

#include "link/serial_port_device.h"

namespace rq508 {

// Wraps the real port and writes a line for everything the channel does with it: the open, the
// line settings, every look at the input queue, and every frame sent and received in hex with
// its decoded fields, each with the milliseconds since the trace began.
class TracingSerialPort final : public SerialPortDevice {
public:
    TracingSerialPort(SerialPortDevice& port, std::ostream& out);

    bool Open(const std::string& name, PortError& error) override;
    bool ReadLineSettings(LineSettings& settings) override;
    bool WriteLineSettings(const LineSettings& settings) override;
    void Purge() override;
    uint32_t WaitingByteCount() override;
    void Write(const uint8_t* bytes, size_t count) override;
    size_t Read(uint8_t* bytes, size_t count) override;
    void Close() override;

private:
    void Line(const std::string& text);

    SerialPortDevice& m_port;
    std::ostream& m_out;
    std::chrono::steady_clock::time_point m_start;
};

// "download frame: 19200 None 1 125K CAN2.0 A", "upload request", "download ack", or what
// else the bytes are, as seen in the given direction.
std::string DescribeFrame(const uint8_t* bytes, size_t count, bool sentByTool);

}  // namespace rq508
