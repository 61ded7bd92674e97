#include <time.h>

#include <cerrno>

#include "platform/system.h"

namespace rq508 {
namespace {

// CLOCK_MONOTONIC: the reply window must not stretch or shrink when the wall clock is set.
class PosixClock final : public Clock {
public:
    uint32_t NowMs() override {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const uint64_t milliseconds = static_cast<uint64_t>(now.tv_sec) * 1000u +
                                      static_cast<uint64_t>(now.tv_nsec) / 1000000u;
        return static_cast<uint32_t>(milliseconds);  // wraps, as the channel expects
    }

    void SleepMs(uint32_t milliseconds) override {
        timespec left{static_cast<time_t>(milliseconds / 1000),
                      static_cast<long>(milliseconds % 1000) * 1000000L};
        // A signal cuts the sleep short; sleep the rest.
        while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() {
    return std::make_unique<PosixClock>();
}

}  // namespace rq508
