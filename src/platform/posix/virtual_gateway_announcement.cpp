#include "platform/posix/virtual_gateway_announcement.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <system_error>

namespace rq508 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLinkPrefix = "gateway-";

// The folder is trusted only when it is a real directory (not a link to one) of this user that
// nobody else can write: anyone who could write it could point port discovery at any file.
bool IsTrustedFolder(const fs::path& folder, std::string& error) {
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0) {
        error = folder.string() + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(status.st_mode)) {
        error = folder.string() + " is not a directory";
        return false;
    }
    if (status.st_uid != geteuid()) {
        error = folder.string() + " belongs to another user";
        return false;
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        error = folder.string() + " is writable by other users";
        return false;
    }
    return true;
}

// The process id in a link's name "gateway-<pid>", or none for any other name.
std::optional<pid_t> AnnouncedPid(const std::string& name) {
    if (!name.starts_with(kLinkPrefix)) {
        return std::nullopt;
    }
    const std::string_view digits = std::string_view(name).substr(kLinkPrefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

// EPERM: the process exists but belongs to someone else.
bool IsAlive(pid_t pid) {
    return kill(pid, 0) == 0 || errno == EPERM;
}

struct Announced {
    pid_t pid;
    fs::path link;
};

std::vector<Announced> AnnouncedLinks(const fs::path& folder) {
    std::vector<Announced> links;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::optional<pid_t> pid = AnnouncedPid(entry.path().filename().string());
        if (pid && entry.is_symlink(error)) {
            links.push_back({*pid, entry.path()});
        }
    }
    std::sort(links.begin(), links.end(),
              [](const Announced& a, const Announced& b) { return a.pid < b.pid; });
    return links;
}

}  // namespace

fs::path AnnouncementFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && fs::path(runtime).is_absolute()) {
        return fs::path(runtime) / "rq508-sim";
    }
    return fs::path("/tmp") / ("rq508-sim-" + std::to_string(geteuid()));
}

fs::path AnnounceVirtualGateway(const fs::path& folder, const std::string& ptyPath,
                                std::string& error) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create " + folder.string() + ": " + std::strerror(errno);
        return {};
    }
    if (!IsTrustedFolder(folder, error)) {
        return {};
    }
    // Links left behind by gateways that were killed would only confuse whoever looks.
    for (const Announced& stale : AnnouncedLinks(folder)) {
        if (!IsAlive(stale.pid)) {
            WithdrawAnnouncement(stale.link);
        }
    }
    const fs::path link = folder / (std::string(kLinkPrefix) + std::to_string(getpid()));
    unlink(link.c_str());  // a link of an earlier process that had this id
    if (symlink(ptyPath.c_str(), link.c_str()) != 0) {
        error = "cannot create " + link.string() + ": " + std::strerror(errno);
        return {};
    }
    return link;
}

void WithdrawAnnouncement(const fs::path& link) {
    unlink(link.c_str());
}

std::vector<std::string> AnnouncedVirtualGateways(const fs::path& folder) {
    std::string error;
    if (!IsTrustedFolder(folder, error)) {
        return {};
    }
    std::vector<std::string> names;
    for (const Announced& announced : AnnouncedLinks(folder)) {
        std::error_code ignored;
        if (IsAlive(announced.pid) && fs::exists(announced.link, ignored)) {
            names.push_back(announced.link.string());
        }
    }
    return names;
}

}  // namespace rq508
