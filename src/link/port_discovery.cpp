#include "port_discovery.h"

#include <utility>

namespace rq508 {

std::vector<std::string> g_portList;

void EnumerateSerialPorts(PortNameSource& source) {
    for (std::string& name : source.PortNames()) {
        g_portList.push_back(std::move(name));
    }
}

}  // namespace rq508
