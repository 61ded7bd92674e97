#include "program_run.h"

#include <signal.h>

#include <chrono>

#include "piped_child.h"

namespace rq508::testing {

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      int timeoutMs) {
    ProgramRun run;
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    PipedChild child;
    if (!child.Start(argv, PipedChild::Input::Empty, run.err)) {
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (child.IsReading()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            run.timedOut = true;
            child.Signal(SIGKILL);
            break;
        }
        child.ReadAvailable(static_cast<int>(left.count()));
    }
    run.exitStatus = child.Wait();
    run.out = std::move(child.Out());
    run.err = std::move(child.Err());
    return run;
}

}  // namespace rq508::testing
