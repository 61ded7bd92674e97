#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/port_name_source.h"

namespace rq508 {

// The serial devices the kernel has, as "/dev/<name>" in natural order: the entries of the tty
// class folder (/sys/class/tty) with a device behind them. Virtual consoles and pseudo-terminals
// have none; legacy 8250 ports that found no UART are left out too (their type reads 0).
std::vector<std::string> KernelSerialPorts(const std::filesystem::path& ttyClassFolder);

// Text order with digit runs compared as numbers: ttyS2 before ttyS10.
bool NaturalLess(std::string_view left, std::string_view right);

// The kernel's serial ports followed by the virtual gateways announced in announcementFolder.
std::unique_ptr<PortNameSource> MakeLinuxPortNameSource(std::filesystem::path ttyClassFolder,
                                                        std::filesystem::path announcementFolder);

}  // namespace rq508
