#include "pseudo_terminal.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace rq508 {
namespace {

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Raw bytes both ways: no echo back into the master, no line editing, no translation of CR or
// LF, no XON/XOFF (frames may hold 0x11 and 0x13).
bool MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, B19200);
    cfsetospeed(&settings, B19200);
    settings.c_cflag |= CLOCAL | CREAD;
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

std::optional<PseudoTerminal> PseudoTerminal::Open(std::string& error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = SystemError("cannot create a pseudo-terminal");
        return std::nullopt;
    }
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        error = SystemError("cannot unlock the pseudo-terminal");
        close(master);
        return std::nullopt;
    }
    const char* name = ptsname(master);
    if (name == nullptr) {
        error = SystemError("cannot name the pseudo-terminal");
        close(master);
        return std::nullopt;
    }
    std::string slavePath = name;
    const int slave = open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (slave < 0) {
        error = SystemError("cannot open " + slavePath);
        close(master);
        return std::nullopt;
    }
    PseudoTerminal terminal(master, slave, std::move(slavePath));
    if (!MakeRaw(slave)) {
        error = SystemError("cannot set " + terminal.m_slavePath + " to raw mode");
        return std::nullopt;
    }
    if (fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
        error = SystemError("cannot make the pseudo-terminal non-blocking");
        return std::nullopt;
    }
    return terminal;
}

PseudoTerminal::PseudoTerminal(int master, int slave, std::string slavePath)
    : m_master(master), m_slave(slave), m_slavePath(std::move(slavePath)) {}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : m_master(std::exchange(other.m_master, -1)),
      m_slave(std::exchange(other.m_slave, -1)),
      m_slavePath(std::move(other.m_slavePath)) {}

PseudoTerminal::~PseudoTerminal() {
    Close();
}

void PseudoTerminal::ClearExclusiveUse() {
    if (m_slave >= 0) {
        ioctl(m_slave, TIOCNXCL);
    }
}

void PseudoTerminal::Close() {
    if (m_master >= 0) {
        close(m_master);
        m_master = -1;
    }
    if (m_slave >= 0) {
        close(m_slave);
        m_slave = -1;
    }
}

}  // namespace rq508
