#include "platform/posix/virtual_gateway_announcement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "support/scratch_folder.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;

class AnnouncementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_root.empty());
        std::ofstream(m_device) << "";
    }
    void TearDown() override {
        // A test may take the folder's permissions away; the scratch folder needs them back.
        std::error_code ignored;
        fs::permissions(m_folder, fs::perms::owner_all, ignored);
    }

    // A process id that surely belongs to no process: a child that has been reaped.
    static pid_t GonePid() {
        const pid_t child = fork();
        if (child == 0) {
            _exit(0);
        }
        waitpid(child, nullptr, 0);
        return child;
    }

    fs::path Link(pid_t pid) const { return m_folder / ("gateway-" + std::to_string(pid)); }

    testing::ScratchFolder m_scratch{"rq508-announce"};
    const fs::path& m_root = m_scratch.Path();
    const fs::path m_folder = m_root / "rq508-sim";
    const fs::path m_device = m_root / "pts-7";
};

TEST_F(AnnouncementTest, CreatesAPrivateFolderAndALinkNamedForTheProcess) {
    std::string error;
    const fs::path link = AnnounceVirtualGateway(m_folder, m_device.string(), error);
    ASSERT_EQ(link, Link(getpid())) << error;
    EXPECT_EQ(fs::read_symlink(link), m_device);
    struct stat status {};
    ASSERT_EQ(lstat(m_folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(status.st_uid, geteuid());
    EXPECT_EQ(AnnouncedVirtualGateways(m_folder), std::vector<std::string>{link.string()});

    WithdrawAnnouncement(link);
    EXPECT_TRUE(AnnouncedVirtualGateways(m_folder).empty());
}

TEST_F(AnnouncementTest, ListsLiveGatewaysInProcessOrderAndLeavesOutTheRest) {
    ASSERT_EQ(mkdir(m_folder.c_str(), 0700), 0);
    // pid 1 is always alive (and belongs to another user when not run as root: EPERM).
    fs::create_symlink(m_device, Link(getpid()));
    fs::create_symlink(m_device, Link(1));
    fs::create_symlink(m_device, Link(GonePid()));                // its process is gone
    fs::create_symlink(m_root / "no-such-pts", Link(getppid()));  // its terminal is gone
    fs::create_symlink(m_device, m_folder / "gateway-x1");        // not a gateway's name
    std::ofstream(m_folder / "gateway-2") << "";                  // not a link
    const std::vector<std::string> expected = {Link(1).string(), Link(getpid()).string()};
    EXPECT_EQ(AnnouncedVirtualGateways(m_folder), expected);
}

TEST_F(AnnouncementTest, AnnouncingClearsLinksOfGatewaysThatAreGone) {
    ASSERT_EQ(mkdir(m_folder.c_str(), 0700), 0);
    const fs::path stale = Link(GonePid());
    fs::create_symlink(m_device, stale);
    std::string error;
    ASSERT_FALSE(AnnounceVirtualGateway(m_folder, m_device.string(), error).empty()) << error;
    EXPECT_FALSE(fs::exists(fs::symlink_status(stale)));
}

TEST_F(AnnouncementTest, MissingFolderListsNothing) {
    EXPECT_TRUE(AnnouncedVirtualGateways(m_folder).empty());
}

struct UntrustedFolder {
    const char* name;
    void (*make)(const fs::path& folder, const fs::path& root);
    const char* reason;
};

class UntrustedAnnouncementFolder : public AnnouncementTest,
                                    public ::testing::WithParamInterface<UntrustedFolder> {};

TEST_P(UntrustedAnnouncementFolder, IsNeitherUsedNorListed) {
    GetParam().make(m_folder, m_root);
    if (::testing::Test::IsSkipped()) {
        return;
    }
    // A gateway that someone else may have planted there.
    std::error_code ignored;
    fs::create_symlink(m_device, Link(getpid()), ignored);
    EXPECT_TRUE(AnnouncedVirtualGateways(m_folder).empty());
    std::string error;
    EXPECT_TRUE(AnnounceVirtualGateway(m_folder, m_device.string(), error).empty());
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UntrustedAnnouncementFolder,
    ::testing::Values(UntrustedFolder{"WritableByOthers",
                                      [](const fs::path& folder, const fs::path&) {
                                          mkdir(folder.c_str(), 0700);
                                          chmod(folder.c_str(), 0777);
                                      },
                                      "is writable by other users"},
                      UntrustedFolder{"WritableByGroup",
                                      [](const fs::path& folder, const fs::path&) {
                                          mkdir(folder.c_str(), 0700);
                                          chmod(folder.c_str(), 0770);
                                      },
                                      "is writable by other users"},
                      UntrustedFolder{"SymbolicLinkToAFolder",
                                      [](const fs::path& folder, const fs::path& root) {
                                          fs::create_directory(root / "elsewhere");
                                          fs::permissions(root / "elsewhere", fs::perms::owner_all);
                                          fs::create_directory_symlink(root / "elsewhere", folder);
                                      },
                                      "is not a directory"},
                      UntrustedFolder{"OwnedByAnotherUser",
                                      [](const fs::path& folder, const fs::path&) {
                                          if (geteuid() != 0) {
                                              GTEST_SKIP()
                                                  << "only root can give a folder to another user";
                                          }
                                          mkdir(folder.c_str(), 0700);
                                          ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
                                      },
                                      "belongs to another user"}),
    [](const auto& row) { return row.param.name; });

struct FolderChoice {
    const char* name;
    const char* runtimeDir;  // nullptr: unset
    bool underRuntimeDir;
};

class AnnouncementFolderChoice : public ::testing::TestWithParam<FolderChoice> {};

TEST_P(AnnouncementFolderChoice, FollowsTheRuntimeDirectoryWhenItIsAbsolute) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved != nullptr ? saved : "";
    if (GetParam().runtimeDir != nullptr) {
        setenv("XDG_RUNTIME_DIR", GetParam().runtimeDir, 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
    const fs::path folder = AnnouncementFolder();
    if (saved != nullptr) {
        setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
    const fs::path expected = GetParam().underRuntimeDir
                                  ? fs::path(GetParam().runtimeDir) / "rq508-sim"
                                  : fs::path("/tmp") / ("rq508-sim-" + std::to_string(geteuid()));
    EXPECT_EQ(folder, expected);
}

INSTANTIATE_TEST_SUITE_P(Environment, AnnouncementFolderChoice,
                         ::testing::Values(FolderChoice{"Absolute", "/run/user/1000", true},
                                           FolderChoice{"Relative", "run/user", false},
                                           FolderChoice{"Empty", "", false},
                                           FolderChoice{"Unset", nullptr, false}),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace rq508
