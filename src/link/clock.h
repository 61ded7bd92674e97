#pragma once

#include <cstdint>

namespace rq508 {

// A millisecond clock that wraps at 32 bits, and a sleep.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t NowMs() = 0;
    virtual void SleepMs(uint32_t milliseconds) = 0;
};

}  // namespace rq508
