#pragma once

#include <optional>
#include <string>

#include "command_line.h"

namespace rq508 {

// The help of one command, or of the whole tool when none is named.
std::string HelpText(std::optional<Command> command);

}  // namespace rq508
