#pragma once

#include <ostream>

#include "command_line.h"
#include "link/clock.h"
#include "link/port_name_source.h"
#include "link/serial_port_device.h"

namespace rq508 {

// What a command works with: the port (perhaps traced), the clock, where port names come from,
// and where its output and its messages go.
struct Tools {
    SerialPortDevice& port;
    Clock& clock;
    PortNameSource& portNames;
    std::ostream& out;  // what the command produces: settings, port names, success messages
    std::ostream& err;  // failures, and what to do about them
};

// Runs the command and returns the process's exit status (see exit_status.h).
int RunCommand(const CommandLine& commandLine, Tools& tools);

}  // namespace rq508
