#pragma once

#include <cstdint>

namespace rq508 {

// The five settings of an RQ-508, in the order and widths in which they travel on the wire.
struct GatewaySettings {
    uint32_t baudRate = 19200;   // RS-485 baud rate, bit/s
    uint8_t checkBit = 0;        // 0 None, 1 Odd, 2 Even, 3 Mark, 4 Space
    uint8_t slaveAddress = 1;    // Modbus slave address, 1..99 by convention
    uint16_t canBaudRate = 125;  // kbit/s; 1000 for 1M, 62 for 62.5K, 31 for 31.25K
    uint8_t canProtocol = 0;     // 0 for CAN2.0 A, 1 for CAN2.0 B

    friend bool operator==(const GatewaySettings&, const GatewaySettings&) = default;
};

}  // namespace rq508
