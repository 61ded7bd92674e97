#pragma once

#include <string>
#include <vector>

namespace rq508 {

// Where the names of the machine's serial ports come from, in a stable order.
class PortNameSource {
public:
    virtual ~PortNameSource() = default;
    virtual std::vector<std::string> PortNames() = 0;
};

}  // namespace rq508
