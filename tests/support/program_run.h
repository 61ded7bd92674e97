#pragma once

#include <string>
#include <vector>

namespace rq508::testing {

struct ProgramRun {
    int exitStatus = -1;  // 128 + the signal number when a signal ended it
    std::string out;
    std::string err;
    bool timedOut = false;  // it was killed after the timeout
};

// Runs a program to its end with the given arguments and an empty standard input, collecting
// what it prints. Plain C++, for tests of any framework.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      int timeoutMs = 30000);

}  // namespace rq508::testing
