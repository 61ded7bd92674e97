#pragma once

#include <string>

namespace rq508 {

// The serial port the transfers use: empty at start, set by the port dialog's Ok and never
// cleared, so the port is chosen once per run.
extern std::string g_portName;

}  // namespace rq508
