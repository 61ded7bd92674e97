#pragma once

#include <cstdio>
#include <cstdlib>

namespace rq508 {

// An invariant of a fuzz target: when it does not hold, say which and abort, so that libFuzzer
// keeps the input and the replay test fails.
inline void Require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", invariant);
        std::abort();
    }
}

}  // namespace rq508
