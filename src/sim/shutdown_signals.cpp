#include "shutdown_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace rq508 {
namespace {

constexpr int kShutdownSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the handler, which may use only async-signal-safe calls.
volatile sig_atomic_t g_writeFd = -1;

void NoteSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = write(g_writeFd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

ShutdownSignals::ShutdownSignals() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    m_readFd = fds[0];
    g_writeFd = fds[1];
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kShutdownSignals) {
        sigaction(signalNumber, &action, nullptr);
    }
    signal(SIGPIPE, SIG_IGN);
}

ShutdownSignals::~ShutdownSignals() {
    for (const int signalNumber : kShutdownSignals) {
        signal(signalNumber, SIG_DFL);
    }
    if (m_readFd >= 0) {
        close(m_readFd);
        close(g_writeFd);
        g_writeFd = -1;
    }
}

}  // namespace rq508
