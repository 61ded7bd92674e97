#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rq508 {

// "FE 0A 00": bytes in upper-case hexadecimal separated by single spaces, as logs and traces
// show what travels on the wire.
std::string HexText(const uint8_t* bytes, size_t count);

}  // namespace rq508
