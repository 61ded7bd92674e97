#pragma once

#include <string>
#include <vector>

#include "link/serial_port_device.h"
#include "settings/gateway_settings.h"

namespace rq508 {

// The settings as the lines of a settings file, with plain line feeds for a terminal or a pipe.
std::string SettingsText(const GatewaySettings& settings);

// {"baudRate": 19200, ...}: the field names of GatewaySettings with their wire values.
std::string SettingsJson(const GatewaySettings& settings);

// One line per setting that differs: "baud rate: sent 9600, the gateway holds 19200".
std::vector<std::string> SettingDifferences(const GatewaySettings& sent,
                                            const GatewaySettings& held);

// What to do about a port that failed to open, after the window's own message.
std::string OpenFailureAdvice(const std::string& port, const PortError& error);

// Why the line settings could not be read or set, and what that usually means.
std::string LineSettingsAdvice(const std::string& port);

}  // namespace rq508
