#include "platform/posix/port_error_posix.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/scratch_folder.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;

struct ErrnoCase {
    std::string name;
    int errorNumber;
    PortFailureKind kind;
    std::string text;
};

class ErrnoMapping : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoMapping, GivesTheKindAndTheSystemsWords) {
    const ErrnoCase& c = GetParam();
    const PortError error = PortErrorFromErrno(c.errorNumber, "/dev/rq508-no-such-port");
    EXPECT_EQ(error.kind, c.kind);
    EXPECT_EQ(error.osText, c.text);
    EXPECT_TRUE(error.ownerHint.empty());
}

INSTANTIATE_TEST_SUITE_P(
    PortError, ErrnoMapping,
    ::testing::Values(
        ErrnoCase{"Missing", ENOENT, PortFailureKind::NotFound, "No such file or directory"},
        ErrnoCase{"NoDeviceBehindTheNode", ENXIO, PortFailureKind::NotFound,
                  "No such device or address"},
        ErrnoCase{"NoDevice", ENODEV, PortFailureKind::NotFound, "No such device"},
        ErrnoCase{"Refused", EACCES, PortFailureKind::PermissionDenied, "Permission denied"},
        ErrnoCase{"NotPermitted", EPERM, PortFailureKind::PermissionDenied,
                  "Operation not permitted"},
        ErrnoCase{"Busy", EBUSY, PortFailureKind::Busy, "Device or resource busy"},
        ErrnoCase{"NoTerminal", ENOTTY, PortFailureKind::NotATerminal,
                  "Inappropriate ioctl for device"},
        ErrnoCase{"Other", EIO, PortFailureKind::Other, "Input/output error"}),
    [](const auto& row) { return row.param.name; });

class DeviceFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_scratch.Path().empty());
        std::ofstream(m_path) << "";
    }
    rq508::testing::ScratchFolder m_scratch{"rq508-device"};
    const fs::path m_path = m_scratch / "device";
};

TEST_F(DeviceFile, PermissionDeniedNamesTheGroupThatMayUseTheDevice) {
    const group* dialout = ::getgrnam("dialout");
    if (dialout == nullptr ||
        ::chown(m_path.c_str(), static_cast<uid_t>(-1), dialout->gr_gid) != 0) {
        GTEST_SKIP() << "no dialout group, or cannot give the file to it";
    }
    ::chmod(m_path.c_str(), 0660);
    EXPECT_EQ(PortErrorFromErrno(EACCES, m_path).ownerHint, "dialout");

    ::chmod(m_path.c_str(), 0600);  // joining the group would not help
    EXPECT_EQ(PortErrorFromErrno(EACCES, m_path).ownerHint, "");
}

TEST_F(DeviceFile, LockHolderIsReadFromTheKernelsLockTable) {
    struct stat status {};
    ASSERT_EQ(::stat(m_path.c_str(), &status), 0);
    const fs::path table = m_path.string() + ".locks";
    char device[32];
    std::snprintf(device, sizeof device, "%02x:%02x:%lu", major(status.st_dev),
                  minor(status.st_dev), static_cast<unsigned long>(status.st_ino));
    std::ofstream(table) << "1: POSIX  ADVISORY  WRITE 77 00:01:5 0 EOF\n"
                         << "2: FLOCK  ADVISORY  WRITE " << ::getpid() << " " << device
                         << " 0 EOF\n"
                         << "2: -> FLOCK  ADVISORY  WRITE 99 " << device << " 0 EOF\n";
    EXPECT_EQ(LockHolder(m_path, table).rfind("process " + std::to_string(::getpid()) + " (", 0),
              0u);
}

}  // namespace
}  // namespace rq508
