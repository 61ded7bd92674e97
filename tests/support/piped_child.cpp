#include "piped_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace rq508::testing {
namespace {

void CloseFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

int ExitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

PipedChild::~PipedChild() {
    if (IsRunning()) {
        Signal(SIGKILL);
        Wait();
    }
    ClosePipes();
}

bool PipedChild::Start(const std::vector<std::string>& argv, Input input, std::string& error) {
    if (IsRunning()) {
        error = "the program is already running";
        return false;
    }
    int inPipe[2] = {-1, -1}, outPipe[2], errPipe[2];
    if ((input == Input::HeldOpen && pipe2(inPipe, O_CLOEXEC) != 0) ||
        pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        error = std::string("cannot create pipes: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> words = argv;
    std::vector<char*> pointers;
    for (std::string& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input == Input::HeldOpen) {
        posix_spawn_file_actions_adddup2(&actions, inPipe[0], STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    // The test runner may ignore or block signals; the child needs them as usual.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaddset(&defaults, signalNumber);
    }
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int spawned =
        posix_spawn(&m_pid, pointers[0], &actions, &attributes, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    CloseFd(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    m_inFd = inPipe[1];
    m_outFd = outPipe[0];
    m_errFd = errPipe[0];
    if (spawned != 0) {
        m_pid = -1;
        ClosePipes();
        error = "cannot start " + argv.front() + ": " + std::strerror(spawned);
        return false;
    }
    return true;
}

bool PipedChild::ReadAvailable(int timeoutMs) {
    if (!IsReading()) {
        return false;
    }
    // poll passes over the entry of a stream that has ended (a negative descriptor).
    pollfd fds[] = {{m_outFd, POLLIN, 0}, {m_errFd, POLLIN, 0}};
    if (poll(fds, 2, timeoutMs) <= 0) {
        return false;
    }
    const std::pair<int*, std::string*> streams[] = {{&m_outFd, &m_out}, {&m_errFd, &m_err}};
    for (size_t i = 0; i < 2; ++i) {
        if (fds[i].revents == 0) {
            continue;
        }
        char chunk[4096];
        const ssize_t got = read(*streams[i].first, chunk, sizeof chunk);
        if (got > 0) {
            streams[i].second->append(chunk, static_cast<size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            CloseFd(*streams[i].first);
        }
    }
    return true;
}

void PipedChild::Signal(int signalNumber) const {
    if (IsRunning()) {
        kill(m_pid, signalNumber);
    }
}

std::optional<int> PipedChild::TryWait() {
    int status = 0;
    if (!IsRunning() || waitpid(m_pid, &status, WNOHANG) != m_pid) {
        return std::nullopt;
    }
    m_pid = -1;
    while (ReadAvailable(0)) {
    }
    ClosePipes();
    return ExitStatus(status);
}

int PipedChild::Wait() {
    ClosePipes();
    if (!IsRunning()) {
        return -1;
    }
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    return ExitStatus(status);
}

void PipedChild::ClosePipes() {
    CloseFd(m_inFd);
    CloseFd(m_outFd);
    CloseFd(m_errFd);
}

}  // namespace rq508::testing
