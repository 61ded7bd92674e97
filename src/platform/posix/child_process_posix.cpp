#include "platform/posix/child_process_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <thread>

extern char** environ;

namespace rq508 {
namespace {

constexpr std::string_view kDefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// Owns a file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }

    int Get() const { return m_fd; }
    void Reset(int fd) {
        Close();
        m_fd = fd;
    }
    void Close() {
        if (m_fd >= 0) {
            close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd;
};

struct Pipe {
    Descriptor readEnd;
    Descriptor writeEnd;
};

bool OpenPipe(Pipe& pipe) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    pipe.readEnd.Reset(fds[0]);
    pipe.writeEnd.Reset(fds[1]);
    return true;
}

// Reads exactly one int, retrying interrupted reads; false at end of file or on error.
bool ReadInt(int fd, int& value) {
    ssize_t got;
    do {
        got = read(fd, &value, sizeof value);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof value);
}

// Waits until fd is readable or the time is up; true when readable (or at end of file).
bool WaitReadable(int fd, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready > 0) {
            return true;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

pid_t WaitForChild(pid_t pid, int& status) {
    pid_t done;
    do {
        done = waitpid(pid, &status, 0);
    } while (done < 0 && errno == EINTR);
    return done;
}

// Waits for a child of ours until the deadline, then kills it; true when it ended by itself.
bool WaitForChildUntil(pid_t pid, std::chrono::steady_clock::time_point deadline, int& status) {
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return true;
        }
        if (done < 0 && errno != EINTR) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            WaitForChild(pid, status);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Between fork and exec only async-signal-safe calls are allowed (this process may have other
// threads), so everything the children need is prepared before the first fork.
struct PreparedExec {
    std::string path;
    std::vector<std::string> arguments;
    std::vector<char*> argv;

    PreparedExec(std::string programPath, const std::vector<std::string>& args)
        : path(std::move(programPath)), arguments(args) {
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
    }
};

[[noreturn]] void ExecInChild(const PreparedExec& exec, int errorFd) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    execve(exec.path.c_str(), exec.argv.data(), environ);
    const int error = errno;
    (void)!write(errorFd, &error, sizeof error);
    _exit(127);
}

[[noreturn]] void ReportAndExit(int fd, int value) {
    (void)!write(fd, &value, sizeof value);
    _exit(1);
}

}  // namespace

std::optional<std::string> FindProgram(const std::string& name) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return name;
    }
    const char* pathVariable = std::getenv("PATH");
    const std::string_view searchPath = pathVariable ? pathVariable : kDefaultSearchPath;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) {
            end = searchPath.size();
        }
        // An empty entry means the current folder, by the shell's old rule.
        std::string folder(searchPath.substr(start, end - start));
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

ProgramOutcome RunDetached(const std::vector<std::string>& argv, std::chrono::milliseconds wait) {
    using Kind = ProgramOutcome::Kind;
    if (argv.empty()) {
        return {Kind::StartFailed, ENOENT};
    }
    const std::optional<std::string> path = FindProgram(argv.front());
    if (!path) {
        return {Kind::StartFailed, ENOENT};
    }
    const PreparedExec exec(*path, argv);

    // Three generations: the first child only forks the watcher and exits, so the watcher and
    // the program belong to init and never become zombies of ours. The watcher waits for the
    // program and writes its wait status to `status`. A failed exec writes its errno to
    // `started`, whose write end closes on a successful exec (O_CLOEXEC): end of file there
    // means the program runs.
    Pipe started;
    Pipe status;
    if (!OpenPipe(started) || !OpenPipe(status)) {
        return {Kind::StartFailed, errno};
    }
    const pid_t first = fork();
    if (first < 0) {
        return {Kind::StartFailed, errno};
    }
    if (first == 0) {
        setsid();
        const pid_t watcher = fork();
        if (watcher < 0) {
            ReportAndExit(started.writeEnd.Get(), errno);
        }
        if (watcher > 0) {
            _exit(0);
        }
        const pid_t program = fork();
        if (program < 0) {
            ReportAndExit(started.writeEnd.Get(), errno);
        }
        if (program == 0) {
            ExecInChild(exec, started.writeEnd.Get());
        }
        close(started.writeEnd.Get());
        int programStatus = 0;
        if (WaitForChild(program, programStatus) == program) {
            (void)!write(status.writeEnd.Get(), &programStatus, sizeof programStatus);
        }
        _exit(0);
    }
    started.writeEnd.Close();
    status.writeEnd.Close();
    int firstStatus = 0;
    WaitForChild(first, firstStatus);

    int startError = 0;
    if (ReadInt(started.readEnd.Get(), startError)) {
        return {Kind::StartFailed, startError};
    }
    int programStatus = 0;
    if (wait.count() <= 0 ||
        !WaitReadable(status.readEnd.Get(), std::chrono::steady_clock::now() + wait) ||
        !ReadInt(status.readEnd.Get(), programStatus)) {
        return {Kind::StillRunning, 0};
    }
    if (WIFSIGNALED(programStatus)) {
        return {Kind::Signalled, WTERMSIG(programStatus)};
    }
    return {Kind::Exited, WEXITSTATUS(programStatus)};
}

std::optional<std::string> ReadProgramOutput(const std::vector<std::string>& argv,
                                             std::chrono::milliseconds wait, std::size_t maxBytes) {
    if (argv.empty()) {
        return std::nullopt;
    }
    const std::optional<std::string> path = FindProgram(argv.front());
    if (!path) {
        return std::nullopt;
    }
    const PreparedExec exec(*path, argv);
    Pipe output;
    if (!OpenPipe(output)) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output.writeEnd.Get(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawnError =
        posix_spawn(&pid, exec.path.c_str(), &actions, nullptr, exec.argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    output.writeEnd.Close();
    if (spawnError != 0) {
        return std::nullopt;
    }

    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::string text;
    bool complete = false;
    char block[512];
    while (WaitReadable(output.readEnd.Get(), deadline)) {
        const ssize_t got = read(output.readEnd.Get(), block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        text.append(block, static_cast<std::size_t>(got));
        if (text.size() > maxBytes) {
            break;
        }
    }
    // A program that closed its output may still be running: it gets the rest of the wait.
    int status = 0;
    const auto waitUntil = complete ? deadline : std::chrono::steady_clock::time_point::min();
    const bool ended = WaitForChildUntil(pid, waitUntil, status);
    if (!complete || !ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return text;
}

}  // namespace rq508
