#include "registry_port_enumeration.h"

#include <limits>

namespace rq508 {

std::vector<std::string> CollectRegistryPortNames(
    const std::function<RegistryValueRead(uint32_t index)>& readValue) {
    std::vector<std::string> names;
    for (uint32_t index = 0; index < std::numeric_limits<uint32_t>::max(); ++index) {
        const RegistryValueRead value = readValue(index);
        if (value.status == RegistryValueStatus::TooLong) {
            continue;
        }
        if (value.status != RegistryValueStatus::Stored) {
            break;
        }
        names.push_back(value.data.substr(0, value.data.find('\0')));
    }
    return names;
}

}  // namespace rq508
