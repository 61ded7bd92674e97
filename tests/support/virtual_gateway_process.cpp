#include "virtual_gateway_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace rq508::testing {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<int64_t>(0, left.count()));
}

bool MakePipe(int fds[2]) {
    return pipe2(fds, O_CLOEXEC) == 0;
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

// 128 + the signal number for a gateway a signal ended, as a shell reports it.
int ExitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::optional<std::string> TakeLine(std::string& buffer) {
    const size_t end = buffer.find('\n');
    if (end == std::string::npos) {
        return std::nullopt;
    }
    std::string line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    return line;
}

}  // namespace

VirtualGatewayProcess::~VirtualGatewayProcess() {
    Stop();
}

std::string VirtualGatewayProcess::ProgramPath() {
    return RQ508_SIM_PROGRAM;
}

bool VirtualGatewayProcess::Start(const std::vector<std::string>& arguments, std::string& error,
                                  int timeoutMs) {
    if (IsRunning()) {
        error = "the virtual gateway is already running";
        return false;
    }
    int input[2], output[2], errors[2];
    if (!MakePipe(input) || !MakePipe(output) || !MakePipe(errors)) {
        error = std::string("cannot create pipes: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> words = {ProgramPath(), "--watch-stdin"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    // The test runner may ignore or block signals; the gateway needs them as usual.
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
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(input[0]);
    close(output[1]);
    close(errors[1]);
    m_stdinFd = input[1];
    m_stdoutFd = output[0];
    m_stderrFd = errors[0];
    if (spawned != 0) {
        m_pid = -1;
        CloseDescriptors();
        error = "cannot start " + ProgramPath() + ": " + std::strerror(spawned);
        return false;
    }

    std::optional<std::string> firstLine = NextLogLine(timeoutMs);
    if (!firstLine || !firstLine->starts_with("/")) {
        const int status = Stop();
        error = "the virtual gateway did not give its port (exit status " + std::to_string(status) +
                "): " + m_stderrBuffer;
        return false;
    }
    m_portPath = *firstLine;
    return true;
}

std::optional<std::string> VirtualGatewayProcess::NextLogLine(int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (std::optional<std::string> line = TakeLine(m_stdoutBuffer)) {
            return line;
        }
        if (!ReadAvailable(RemainingMs(deadline)) && RemainingMs(deadline) == 0) {
            return std::nullopt;
        }
        if (m_stdoutFd < 0) {
            return TakeLine(m_stdoutBuffer);
        }
    }
}

std::optional<std::string> VirtualGatewayProcess::WaitForLogLine(const std::string& text,
                                                                 int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::optional<std::string> line = NextLogLine(RemainingMs(deadline))) {
        if (line->find(text) != std::string::npos) {
            return line;
        }
    }
    return std::nullopt;
}

std::string VirtualGatewayProcess::ErrorOutput() {
    ReadAvailable(0);
    return m_stderrBuffer;
}

bool VirtualGatewayProcess::ReadAvailable(int timeoutMs) {
    std::array<pollfd, 2> fds{{{m_stdoutFd, POLLIN, 0}, {m_stderrFd, POLLIN, 0}}};
    if (m_stdoutFd < 0 && m_stderrFd < 0) {
        return false;
    }
    const int ready = poll(fds.data(), fds.size(), timeoutMs);
    if (ready <= 0) {
        return false;
    }
    const std::pair<int*, std::string*> streams[] = {{&m_stdoutFd, &m_stdoutBuffer},
                                                     {&m_stderrFd, &m_stderrBuffer}};
    for (size_t i = 0; i < fds.size(); ++i) {
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

std::optional<int> VirtualGatewayProcess::WaitForExit(int timeoutMs) {
    if (!IsRunning()) {
        return std::nullopt;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            while (ReadAvailable(0)) {
            }
            CloseDescriptors();
            return ExitStatus(status);
        }
        if (RemainingMs(deadline) == 0) {
            return std::nullopt;
        }
        // Keeps reading, so a gateway blocked on a full pipe can still end.
        if (!ReadAvailable(std::min(RemainingMs(deadline), 10))) {
            usleep(1000);
        }
    }
}

int VirtualGatewayProcess::Stop(int timeoutMs) {
    if (!IsRunning()) {
        CloseDescriptors();
        return -1;
    }
    kill(m_pid, SIGTERM);
    if (const std::optional<int> status = WaitForExit(timeoutMs)) {
        return *status;
    }
    kill(m_pid, SIGKILL);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    CloseDescriptors();
    return ExitStatus(status);
}

void VirtualGatewayProcess::CloseDescriptors() {
    CloseFd(m_stdinFd);
    CloseFd(m_stdoutFd);
    CloseFd(m_stderrFd);
}

}  // namespace rq508::testing
