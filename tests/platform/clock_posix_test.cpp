#include <gtest/gtest.h>

#include "platform/system.h"

namespace rq508 {
namespace {

// Only lower bounds: a loaded machine may sleep longer, never shorter.
TEST(SystemClock, SleepLastsAtLeastTheMillisecondsAsked) {
    auto clock = MakeSystemClock();
    const uint32_t before = clock->NowMs();
    clock->SleepMs(50);
    const auto elapsed = static_cast<int32_t>(clock->NowMs() - before);
    EXPECT_GE(elapsed, 50);
}

}  // namespace
}  // namespace rq508
