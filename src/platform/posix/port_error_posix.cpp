#include "port_error_posix.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace rq508 {
namespace {

std::string ErrorText(int errorNumber) {
    char buffer[256];
    // The GNU strerror_r returns its text, which need not be in the buffer.
    return strerror_r(errorNumber, buffer, sizeof buffer);
}

PortFailureKind KindOf(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case ENOTDIR:
            return PortFailureKind::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return PortFailureKind::PermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:
            return PortFailureKind::Busy;
        case ENOTTY:
            return PortFailureKind::NotATerminal;
        default:
            return PortFailureKind::Other;
    }
}

// One line of /proc/locks: "3: FLOCK  ADVISORY  WRITE 1234 00:05:87 0 EOF", the device given
// as the file system's major:minor in hex and the inode in decimal. Waiters are marked "->".
bool LineLocks(const std::string& line, const struct stat& device, int& pid) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, where;
    if (!(fields >> number >> kind) || kind == "->") {
        return false;
    }
    if (!(fields >> mode >> access >> pid >> where)) {
        return false;
    }
    unsigned deviceMajor = 0, deviceMinor = 0;
    unsigned long inode = 0;
    if (std::sscanf(where.c_str(), "%x:%x:%lu", &deviceMajor, &deviceMinor, &inode) != 3) {
        return false;
    }
    return deviceMajor == major(device.st_dev) && deviceMinor == minor(device.st_dev) &&
           inode == device.st_ino;
}

}  // namespace

std::string DescribeProcess(int pid) {
    std::ifstream commFile("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(commFile, name);
    std::string description = "process " + std::to_string(pid);
    if (!name.empty()) {
        description += " (" + name + ")";
    }
    return description;
}

std::string LockHolder(const std::filesystem::path& device,
                       const std::filesystem::path& lockTable) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0) {
        return {};
    }
    std::ifstream table(lockTable);
    for (std::string line; std::getline(table, line);) {
        int pid = 0;
        if (LineLocks(line, status, pid) && pid > 0) {
            return DescribeProcess(pid);
        }
    }
    return {};
}

std::string AccessGroup(const std::filesystem::path& device) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0 || status.st_gid == 0 ||
        (status.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) {
        return {};
    }
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(status.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr) {
        return {};
    }
    return found->gr_name;
}

PortError PortErrorFromErrno(int errorNumber, const std::filesystem::path& device) {
    PortError error{KindOf(errorNumber), ErrorText(errorNumber), {}};
    if (error.kind == PortFailureKind::PermissionDenied) {
        error.ownerHint = AccessGroup(device);
    } else if (error.kind == PortFailureKind::Busy) {
        error.ownerHint = LockHolder(device);
    }
    return error;
}

}  // namespace rq508
