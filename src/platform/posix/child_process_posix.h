#pragma once

// Starting other programs without a shell: the arguments reach the program exactly as given.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace rq508 {

// A name with a slash as it stands; otherwise the first executable file of that name in the
// folders of PATH (the usual ones when PATH is unset).
std::optional<std::string> FindProgram(const std::string& name);

struct ProgramOutcome {
    enum class Kind {
        StartFailed,   // value: the errno of the failed start
        Exited,        // value: the exit status
        Signalled,     // value: the signal that ended it
        StillRunning,  // started, and still running when the wait ended
    };
    Kind kind = Kind::StartFailed;
    int value = 0;
};

// Runs argv[0] (looked up with FindProgram) with the arguments in a session of its own and waits
// up to `wait` for it to end. The program is detached from this process, so one that keeps
// running leaves no zombie behind when it ends later. A zero wait reports StillRunning as soon
// as the program has started.
ProgramOutcome RunDetached(const std::vector<std::string>& argv, std::chrono::milliseconds wait);

// Runs the program with no input and returns its standard output (at most maxBytes) when it
// exits with status 0 within the wait; a program still running then is killed.
std::optional<std::string> ReadProgramOutput(const std::vector<std::string>& argv,
                                             std::chrono::milliseconds wait, std::size_t maxBytes);

}  // namespace rq508
