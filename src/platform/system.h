#pragma once

#include <memory>

#include "link/clock.h"
#include "link/port_name_source.h"
#include "link/serial_port_device.h"

namespace rq508 {

// The operating system's side of the link's interfaces; each platform's files supply these.
std::unique_ptr<SerialPortDevice> MakeSystemSerialPort();
std::unique_ptr<Clock> MakeSystemClock();
std::unique_ptr<PortNameSource> MakeSystemPortNameSource();

}  // namespace rq508
