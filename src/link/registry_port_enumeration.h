#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rq508 {

// What one registry value read at an index gave.
enum class RegistryValueStatus {
    Stored,   // the value's name and data fitted their buffers
    TooLong,  // the name or the data did not fit (ERROR_MORE_DATA)
    NoMoreItems,
    Failed,  // any other error
};

struct RegistryValueRead {
    RegistryValueStatus status = RegistryValueStatus::Failed;
    std::string data;  // exactly the bytes the call returned, NULs included
};

// The names of the ports under the serial-port key, in enumeration order: the data of each
// value up to its first NUL. A value too long for the buffers is skipped and the enumeration
// goes on, so one odd driver entry cannot hide the ports after it; the enumeration stops at the
// end of the values or at any other error.
std::vector<std::string> CollectRegistryPortNames(
    const std::function<RegistryValueRead(uint32_t index)>& readValue);

}  // namespace rq508
