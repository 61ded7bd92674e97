#pragma once

#include <sys/types.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace rq508::testing {

// A program a test starts, with its standard output and error on pipes that the test reads
// without waiting longer than it says. Plain C++ with result values, for tests of any framework.
// A child still running when the object goes is killed.
class PipedChild {
public:
    // Its standard input: /dev/null, or a pipe held open until the child ends, so that a child
    // that watches its input sees this process go.
    enum class Input { Empty, HeldOpen };

    PipedChild() = default;
    ~PipedChild();
    PipedChild(const PipedChild&) = delete;
    PipedChild& operator=(const PipedChild&) = delete;

    // Starts argv[0] (a path) with the arguments. On failure the error says what went wrong.
    bool Start(const std::vector<std::string>& argv, Input input, std::string& error);

    // Waits up to the time for output and adds what came to Out() and Err(); a stream at its
    // end is closed. False when nothing came in time or both streams have ended.
    bool ReadAvailable(int timeoutMs);
    bool IsOutputOpen() const { return m_outFd >= 0; }
    bool IsReading() const { return m_outFd >= 0 || m_errFd >= 0; }
    std::string& Out() { return m_out; }
    std::string& Err() { return m_err; }

    pid_t Pid() const { return m_pid; }
    bool IsRunning() const { return m_pid > 0; }
    void Signal(int signalNumber) const;

    // The exit status once the child has ended, after reading what it left in the pipes; none
    // while it runs. A signal that ended it gives 128 + its number, as a shell reports it.
    std::optional<int> TryWait();
    // Closes the pipes, so output not yet read is lost, and waits for the end; the exit status.
    int Wait();

private:
    void ClosePipes();

    pid_t m_pid = -1;
    int m_inFd = -1;
    int m_outFd = -1;
    int m_errFd = -1;
    std::string m_out;
    std::string m_err;
};

}  // namespace rq508::testing
