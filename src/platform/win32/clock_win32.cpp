#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// windows.h first: the multimedia timer's header needs its types.
#include <mmsystem.h>

#include "platform/system.h"

namespace rq508 {
namespace {

// The multimedia timer: a 32-bit millisecond count that wraps after 49.7 days.
class Win32Clock final : public Clock {
public:
    uint32_t NowMs() override { return timeGetTime(); }
    void SleepMs(uint32_t milliseconds) override { Sleep(milliseconds); }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() {
    return std::make_unique<Win32Clock>();
}

}  // namespace rq508
