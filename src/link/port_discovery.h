#pragma once

#include <string>
#include <vector>

#include "port_name_source.h"

namespace rq508 {

// The ports the port dialog lists, in discovery order. Emptied and refilled each time it opens.
extern std::vector<std::string> g_portList;

// Appends the names the source finds to g_portList, in its order; does not empty it first.
void EnumerateSerialPorts(PortNameSource& source);

}  // namespace rq508
