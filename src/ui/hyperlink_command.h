#pragma once

// The parts of opening a link that need no window: the fallback command line built from the
// ".htm" association, and the warning text for a failed open. Standard library only.

#include <string>
#include <string_view>

namespace rq508 {

// The association's command with its "%1" placeholder replaced by the address: the command is
// cut at the first "%1" in double quotes (at its opening quote), or else at the first plain
// "%1", or kept whole; then a space and the address follow, unquoted. The result grows with
// its inputs: there is no fixed buffer to overflow.
std::string BuildAssociationCommand(std::string_view associationCommand, std::string_view address);

// "Unable to open hyperlink:\n\n" followed by the text for the failure code; codes without a
// text of their own give "Unknown Error (<code>) occurred.".
std::string OpenErrorMessage(int code);

}  // namespace rq508
