#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "platform/system.h"

namespace rq508 {
namespace {

// Asked of the driver for both queues. 4069, not 4096: the figure the tool has always asked
// for; the driver may round it as it likes.
constexpr DWORD kQueueSize = 4069;

std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

PortFailureKind KindOf(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return PortFailureKind::NotFound;
        // A COM port that another program (or this one) holds refuses the open this way.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return PortFailureKind::Busy;
        default:
            return PortFailureKind::Other;
    }
}

uint8_t ParityCode(Parity parity) {
    switch (parity) {
        case Parity::Odd:
            return ODDPARITY;
        case Parity::Even:
            return EVENPARITY;
        case Parity::Mark:
            return MARKPARITY;
        case Parity::Space:
            return SPACEPARITY;
        case Parity::None:
            break;
    }
    return NOPARITY;
}

Parity ParityOf(BYTE code) {
    switch (code) {
        case ODDPARITY:
            return Parity::Odd;
        case EVENPARITY:
            return Parity::Even;
        case MARKPARITY:
            return Parity::Mark;
        case SPACEPARITY:
            return Parity::Space;
        default:
            return Parity::None;
    }
}

uint8_t StopBitsCode(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::OnePointFive:
            return ONE5STOPBITS;
        case StopBits::Two:
            return TWOSTOPBITS;
        case StopBits::One:
            break;
    }
    return ONESTOPBIT;
}

StopBits StopBitsOf(BYTE code) {
    switch (code) {
        case ONE5STOPBITS:
            return StopBits::OnePointFive;
        case TWOSTOPBITS:
            return StopBits::Two;
        default:
            return StopBits::One;
    }
}

// The comm API port: synchronous, unshared, with the time-outs the port already has.
class Win32SerialPort final : public SerialPortDevice {
public:
    ~Win32SerialPort() override { Close(); }

    bool Open(const std::string& name, PortError& error) override {
        Close();
        // The name goes to CreateFileA as it stands: no "\\.\" prefix is added.
        m_handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            error = {KindOf(code), SystemText(code), {}};
            return false;
        }
        SetupComm(m_handle, kQueueSize, kQueueSize);
        return true;
    }

    bool ReadLineSettings(LineSettings& settings) override {
        m_line = DCB{};
        m_line.DCBlength = sizeof m_line;
        if (!GetCommState(m_handle, &m_line)) {
            return false;
        }
        settings.baudRate = m_line.BaudRate;
        settings.dataBits = m_line.ByteSize;
        settings.parity = ParityOf(m_line.Parity);
        settings.stopBits = StopBitsOf(m_line.StopBits);
        return true;
    }

    // Only these fields change; flow control, modem lines, XON/XOFF limits and characters,
    // error and end-of-file characters and abort-on-error stay as the port had them.
    bool WriteLineSettings(const LineSettings& settings) override {
        m_line.fBinary = 1;
        m_line.fParity = 1;
        m_line.BaudRate = settings.baudRate;
        m_line.ByteSize = settings.dataBits;
        m_line.Parity = ParityCode(settings.parity);
        m_line.StopBits = StopBitsCode(settings.stopBits);
        return SetCommState(m_handle, &m_line) != 0;
    }

    void Purge() override {
        PurgeComm(m_handle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    }

    uint32_t WaitingByteCount() override {
        DWORD errors = 0;
        COMSTAT status{};
        ClearCommError(m_handle, &errors, &status);
        return status.cbInQue;
    }

    void Write(const uint8_t* bytes, size_t count) override {
        DWORD written = 0;
        WriteFile(m_handle, bytes, static_cast<DWORD>(count), &written, nullptr);
    }

    size_t Read(uint8_t* bytes, size_t count) override {
        DWORD read = 0;
        if (!ReadFile(m_handle, bytes, static_cast<DWORD>(count), &read, nullptr)) {
            return 0;
        }
        return read;
    }

    void Close() override {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
            m_handle = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    DCB m_line{};
};

}  // namespace

std::unique_ptr<SerialPortDevice> MakeSystemSerialPort() {
    return std::make_unique<Win32SerialPort>();
}

}  // namespace rq508
