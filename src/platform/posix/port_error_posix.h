#pragma once

#include <filesystem>
#include <string>

#include "link/serial_port_device.h"

namespace rq508 {

// The portable kind of an open failure, the system's own words, and what the user could do
// about it: for a refused permission the group that owns the device, for a busy port the
// process that holds it, where those can be found.
PortError PortErrorFromErrno(int errorNumber, const std::filesystem::path& device);

// "process 1234 (picocom)", or "process 1234" when its name cannot be read.
std::string DescribeProcess(int pid);

// The process holding a lock on the device according to the kernel's lock table, described as
// DescribeProcess does; empty when none is listed.
std::string LockHolder(const std::filesystem::path& device,
                       const std::filesystem::path& lockTable = "/proc/locks");

// The group whose members may read and write the device; empty when membership would not help.
std::string AccessGroup(const std::filesystem::path& device);

}  // namespace rq508
