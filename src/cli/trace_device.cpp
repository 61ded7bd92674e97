#include "trace_device.h"

#include <cstdio>

#include "link/frame_text.h"
#include "link/frames.h"
#include "settings/settings_conversion.h"

namespace rq508 {
namespace {

std::string LineSettingsText(const LineSettings& settings) {
    static constexpr char kParity[] = {'N', 'O', 'E', 'M', 'S'};
    static constexpr const char* kStopBits[] = {"1", "1.5", "2"};
    return std::to_string(settings.baudRate) + " " + std::to_string(settings.dataBits) +
           kParity[static_cast<int>(settings.parity)] +
           kStopBits[static_cast<int>(settings.stopBits)];
}

}  // namespace

std::string DescribeFrame(const uint8_t* bytes, size_t count, bool sentByTool) {
    const std::span<const uint8_t> received(bytes, count);
    if (const auto settings = DecodeUploadReply(received, count)) {
        return std::string(sentByTool ? "download frame: " : "upload reply: ") +
               SettingsSummary(*settings);
    }
    if (IsDownloadAck(received, count)) {
        return sentByTool ? "upload request" : "download ack";
    }
    if (count == 0) {
        return "nothing";
    }
    return std::to_string(count) + (count == 1 ? " byte" : " bytes") + ", no frame";
}

TracingSerialPort::TracingSerialPort(SerialPortDevice& port, std::ostream& out)
    : m_port(port), m_out(out), m_start(std::chrono::steady_clock::now()) {}

void TracingSerialPort::Line(const std::string& text) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start)
            .count();
    char time[32];
    std::snprintf(time, sizeof time, "%9.1f ms  ", ms);
    m_out << time << text << std::endl;
}

bool TracingSerialPort::Open(const std::string& name, PortError& error) {
    const bool opened = m_port.Open(name, error);
    Line("open \"" + name + "\": " + (opened ? "done" : "failed, " + error.osText));
    return opened;
}

bool TracingSerialPort::ReadLineSettings(LineSettings& settings) {
    const bool read = m_port.ReadLineSettings(settings);
    Line("line settings read: " + (read ? LineSettingsText(settings) : "failed"));
    return read;
}

bool TracingSerialPort::WriteLineSettings(const LineSettings& settings) {
    const bool written = m_port.WriteLineSettings(settings);
    Line("line settings set to " + LineSettingsText(settings) + (written ? "" : ": failed"));
    return written;
}

void TracingSerialPort::Purge() {
    m_port.Purge();
    Line("purged both queues");
}

uint32_t TracingSerialPort::WaitingByteCount() {
    const uint32_t waiting = m_port.WaitingByteCount();
    Line("waiting " + std::to_string(waiting));
    return waiting;
}

void TracingSerialPort::Write(const uint8_t* bytes, size_t count) {
    m_port.Write(bytes, count);
    Line("> " + HexText(bytes, count) + "  (" + DescribeFrame(bytes, count, true) + ")");
}

size_t TracingSerialPort::Read(uint8_t* bytes, size_t count) {
    const size_t got = m_port.Read(bytes, count);
    Line("< " + HexText(bytes, got) + "  (" + DescribeFrame(bytes, got, false) + ")");
    return got;
}

void TracingSerialPort::Close() {
    m_port.Close();
    Line("closed");
}

}  // namespace rq508
