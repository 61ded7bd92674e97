#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rq508 {

// A running virtual gateway makes itself known to port discovery with a symbolic link to its
// pseudo-terminal, named "gateway-<pid>", in a folder that only its user may write:
// $XDG_RUNTIME_DIR/rq508-sim when that is set, otherwise /tmp/rq508-sim-<uid>.
std::filesystem::path AnnouncementFolder();

// Creates the folder if needed and the link for this process. Returns the link's path, or an
// empty path with the reason in error.
std::filesystem::path AnnounceVirtualGateway(const std::filesystem::path& folder,
                                             const std::string& ptyPath, std::string& error);

void WithdrawAnnouncement(const std::filesystem::path& link);

// The links of live virtual gateways, in a stable order. Ignores a folder that is not owned by
// this user or is writable by others, and links whose process is gone.
std::vector<std::string> AnnouncedVirtualGateways(const std::filesystem::path& folder);

}  // namespace rq508
