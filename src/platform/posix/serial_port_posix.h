#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "link/serial_port_device.h"

namespace rq508 {

// Where other serial programs leave their UUCP lock files ("LCK..ttyUSB0").
std::vector<std::filesystem::path> SystemLockFolders();

// A termios serial port. A UUCP lock file in one of lockFolders, held by a live process, makes
// the port busy; this port never writes one itself (flock and TIOCEXCL exclude the programs
// that do not look at lock files, and a lock file left by a crash would block the port).
std::unique_ptr<SerialPortDevice> MakePosixSerialPort(
    std::vector<std::filesystem::path> lockFolders);

}  // namespace rq508
