#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rq508 {

// Why a port could not be opened, in portable terms, with the system's own words beside it.
enum class PortFailureKind { None, NotFound, PermissionDenied, Busy, NotATerminal, Other };

struct PortError {
    PortFailureKind kind = PortFailureKind::None;
    std::string osText;     // the system's message ("No such file or directory")
    std::string ownerHint;  // what holds a busy port, or which group owns it, where known
};

enum class Parity : uint8_t { None, Odd, Even, Mark, Space };
enum class StopBits : uint8_t { One, OnePointFive, Two };

// The part of a port's line settings the channel changes; the device keeps everything else as
// the port had it.
struct LineSettings {
    uint32_t baudRate = 0;
    uint8_t dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
};

// One serial port of the machine, as the channel needs it. Implemented per platform; tests may
// supply their own.
class SerialPortDevice {
public:
    virtual ~SerialPortDevice() = default;

    // Opens the named port for exclusive use. On failure nothing stays open.
    virtual bool Open(const std::string& name, PortError& error) = 0;
    virtual bool ReadLineSettings(LineSettings& settings) = 0;
    virtual bool WriteLineSettings(const LineSettings& settings) = 0;
    // Discards whatever waits to be sent or read.
    virtual void Purge() = 0;
    // Clears the port's error state and returns the count of bytes waiting to be read.
    virtual uint32_t WaitingByteCount() = 0;
    virtual void Write(const uint8_t* bytes, size_t count) = 0;
    virtual size_t Read(uint8_t* bytes, size_t count) = 0;
    virtual void Close() = 0;
};

}  // namespace rq508
