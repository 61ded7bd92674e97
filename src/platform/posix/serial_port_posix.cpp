#include "serial_port_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include "platform/system.h"
#include "port_error_posix.h"

namespace rq508 {
namespace {

// A frame takes milliseconds on the wire; a port that takes this long to accept one is stuck
// (a flow-controlled line, an adapter gone), and the missing reply tells the user.
constexpr int kWriteTimeoutMs = 2000;

struct SpeedEntry {
    uint32_t baudRate;
    speed_t speed;
};

constexpr SpeedEntry kSpeeds[] = {
    {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},
    {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

std::optional<speed_t> SpeedOf(uint32_t baudRate) {
    for (const SpeedEntry& entry : kSpeeds) {
        if (entry.baudRate == baudRate) {
            return entry.speed;
        }
    }
    return std::nullopt;
}

uint32_t BaudRateOf(speed_t speed) {
    for (const SpeedEntry& entry : kSpeeds) {
        if (entry.speed == speed) {
            return entry.baudRate;
        }
    }
    return 0;
}

std::optional<tcflag_t> CharacterSizeOf(uint8_t dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        case 8:
            return CS8;
        default:
            return std::nullopt;
    }
}

uint8_t DataBitsOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

tcflag_t ParityFlagsOf(Parity parity) {
    switch (parity) {
        case Parity::Odd:
            return PARENB | PARODD;
        case Parity::Even:
            return PARENB;
        case Parity::Mark:
            return PARENB | CMSPAR | PARODD;
        case Parity::Space:
            return PARENB | CMSPAR;
        case Parity::None:
            break;
    }
    return 0;
}

Parity ParityOf(tcflag_t cflag) {
    if ((cflag & PARENB) == 0) {
        return Parity::None;
    }
    const bool odd = (cflag & PARODD) != 0;
    if ((cflag & CMSPAR) != 0) {
        return odd ? Parity::Mark : Parity::Space;
    }
    return odd ? Parity::Odd : Parity::Even;
}

// Raw 8-bit input and output: a binary frame may hold 0x11 and 0x13 (XON, XOFF), 0x0D and 0x0A,
// and the waiting count of FIONREAD is only right without canonical input.
void MakeRaw(termios& line) {
    line.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                      IXANY | IUCLC | IMAXBEL);
    line.c_oflag &= ~OPOST;
    line.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    line.c_cflag |= CLOCAL | CREAD;
    // With O_NONBLOCK kept as well, a read returns at once with what is waiting.
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
}

// The pid in a UUCP lock file: ten ASCII digits by convention, a binary int in old ones.
std::optional<pid_t> LockFilePid(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string content{std::istreambuf_iterator<char>(in), {}};
    if (content.size() == sizeof(int) &&
        content.find_first_not_of(" 0123456789\n") != std::string::npos) {
        int pid = 0;
        std::memcpy(&pid, content.data(), sizeof pid);
        return pid;
    }
    const size_t start = content.find_first_not_of(" \t");
    if (start == std::string::npos) {
        return std::nullopt;
    }
    pid_t pid = 0;
    const char* end = content.data() + content.size();
    if (std::from_chars(content.data() + start, end, pid).ec != std::errc{}) {
        return std::nullopt;
    }
    return pid;
}

bool ProcessLives(pid_t pid) {
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// The live process named by a UUCP lock on the device, described; empty when there is none.
std::string UucpLockHolder(const std::string& name,
                           const std::vector<std::filesystem::path>& lockFolders) {
    std::error_code ignored;
    std::filesystem::path device = std::filesystem::canonical(name, ignored);
    if (device.empty()) {
        device = name;
    }
    const std::string lockName = "LCK.." + device.filename().string();
    for (const auto& folder : lockFolders) {
        const std::optional<pid_t> pid = LockFilePid(folder / lockName);
        if (pid && *pid != ::getpid() && ProcessLives(*pid)) {
            return DescribeProcess(*pid) + ", by its lock file " + (folder / lockName).string();
        }
    }
    return {};
}

class PosixSerialPort final : public SerialPortDevice {
public:
    explicit PosixSerialPort(std::vector<std::filesystem::path> lockFolders)
        : m_lockFolders(std::move(lockFolders)) {}
    ~PosixSerialPort() override { Close(); }
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool Open(const std::string& name, PortError& error) override {
        Close();
        // O_NONBLOCK: the open must not wait for a carrier, and reads must not wait for bytes.
        const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = PortErrorFromErrno(errno, name);
            return false;
        }
        // Both flock and TIOCEXCL: TIOCEXCL does not stop root, and flock is what other serial
        // programs take; flock alone does not stop a program that does not ask for it.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int reason = errno;
            ::close(fd);
            error = PortErrorFromErrno(reason == EWOULDBLOCK ? EBUSY : reason, name);
            return false;
        }
        if (std::string holder = UucpLockHolder(name, m_lockFolders); !holder.empty()) {
            ::close(fd);
            error = {PortFailureKind::Busy, std::strerror(EBUSY), std::move(holder)};
            return false;
        }
        ::ioctl(fd, TIOCEXCL);  // fails only for a file that is no terminal; see ReadLineSettings
        m_fd = fd;
        return true;
    }

    bool ReadLineSettings(LineSettings& settings) override {
        if (m_fd < 0 || !::isatty(m_fd) || ::tcgetattr(m_fd, &m_line) != 0) {
            return false;
        }
        settings.baudRate = BaudRateOf(::cfgetospeed(&m_line));
        settings.dataBits = DataBitsOf(m_line.c_cflag);
        settings.parity = ParityOf(m_line.c_cflag);
        settings.stopBits = (m_line.c_cflag & CSTOPB) != 0 ? StopBits::Two : StopBits::One;
        return true;
    }

    bool WriteLineSettings(const LineSettings& settings) override {
        const std::optional<speed_t> speed = SpeedOf(settings.baudRate);
        const std::optional<tcflag_t> size = CharacterSizeOf(settings.dataBits);
        if (m_fd < 0 || !speed || !size || settings.stopBits == StopBits::OnePointFive) {
            return false;
        }
        termios line = m_line;
        MakeRaw(line);
        line.c_cflag |= *size | ParityFlagsOf(settings.parity);
        if (settings.stopBits == StopBits::Two) {
            line.c_cflag |= CSTOPB;
        }
        if (::cfsetispeed(&line, *speed) != 0 || ::cfsetospeed(&line, *speed) != 0 ||
            ::tcsetattr(m_fd, TCSANOW, &line) != 0) {
            return false;
        }
        // tcsetattr succeeds when any one change took; read back what the driver kept.
        termios applied{};
        constexpr tcflag_t kFormat = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
        return ::tcgetattr(m_fd, &applied) == 0 && ::cfgetospeed(&applied) == *speed &&
               (applied.c_cflag & kFormat) == (line.c_cflag & kFormat) &&
               (applied.c_lflag & ICANON) == 0 && (applied.c_iflag & IXON) == 0;
    }

    void Purge() override {
        if (m_fd >= 0) {
            ::tcflush(m_fd, TCIOFLUSH);
        }
    }

    uint32_t WaitingByteCount() override {
        int waiting = 0;
        if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &waiting) != 0 || waiting < 0) {
            return 0;  // a hung-up port has nothing waiting
        }
        return static_cast<uint32_t>(waiting);
    }

    void Write(const uint8_t* bytes, size_t count) override {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
        size_t written = 0;
        while (m_fd >= 0 && written < count) {
            const ssize_t result = ::write(m_fd, bytes + written, count - written);
            if (result > 0) {
                written += static_cast<size_t>(result);
            } else if (result < 0 && errno == EINTR) {
                continue;
            } else if (result < 0 && errno == EAGAIN) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                if (left.count() <= 0 || !WaitUntilWritable(static_cast<int>(left.count()))) {
                    return;
                }
            } else {
                return;  // hung up or failed: the missing reply reports it
            }
        }
    }

    size_t Read(uint8_t* bytes, size_t count) override {
        size_t got = 0;
        while (m_fd >= 0 && got < count) {
            const ssize_t result = ::read(m_fd, bytes + got, count - got);
            if (result > 0) {
                got += static_cast<size_t>(result);
            } else if (result < 0 && errno == EINTR) {
                continue;
            } else {
                break;  // nothing more waiting (EAGAIN), end of file, or hung up
            }
        }
        return got;
    }

    void Close() override {
        if (m_fd < 0) {
            return;
        }
        // Unsent output would make close wait for it, up to the driver's closing wait.
        ::tcflush(m_fd, TCIOFLUSH);
        // The exclusive flag belongs to the terminal, not to this descriptor: it would outlive
        // the close while another process (a virtual gateway) keeps the terminal open.
        ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);  // releases the flock
        m_fd = -1;
    }

private:
    bool WaitUntilWritable(int timeoutMs) {
        pollfd entry{m_fd, POLLOUT, 0};
        const int ready = ::poll(&entry, 1, timeoutMs);
        if (ready < 0) {
            return errno == EINTR;
        }
        return ready > 0 && (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) == 0;
    }

    std::vector<std::filesystem::path> m_lockFolders;
    int m_fd = -1;
    termios m_line{};
};

}  // namespace

std::vector<std::filesystem::path> SystemLockFolders() {
    return {"/run/lock", "/var/lock"};
}

std::unique_ptr<SerialPortDevice> MakePosixSerialPort(
    std::vector<std::filesystem::path> lockFolders) {
    return std::make_unique<PosixSerialPort>(std::move(lockFolders));
}

std::unique_ptr<SerialPortDevice> MakeSystemSerialPort() {
    return MakePosixSerialPort(SystemLockFolders());
}

}  // namespace rq508
