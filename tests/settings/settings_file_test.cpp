// The settings file on real files in a temporary folder.

#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <set>

#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;
using rq508::testing::ReadWholeFile;
using rq508::testing::WriteWholeFile;

const SettingsFileRecord kInitialRecord{"19200", "None", "125K", 0, "1"};
const SettingsFileRecord kOtherRecord{"115200", "Even", "1M", 1, "99"};

const std::string kInitialFile =
    "Baud Rate\t\t19200\r\n"
    "Check Bit\t\tNone\r\n"
    "CAN Baud Rate\t\t125K\r\n"
    "CAN Protocol\t\tCAN2.0 A\r\n"
    "Modbus Slave Address\t1\r\n";

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_folder.empty()); }

    void TearDown() override {
        // A test may take the folder's permissions away; the scratch folder needs them back.
        std::error_code ignored;
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    }

    fs::path PathOf(const std::string& name) const { return m_folder / name; }

    // The names in the folder, to see that no temporary file is left behind.
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator{m_folder}) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    rq508::testing::ScratchFolder m_scratch{"rq508-settings"};
    const fs::path& m_folder = m_scratch.Path();
};

TEST_F(SettingsFile, InitialSettingsAreWrittenAsTheExact104Bytes) {
    const fs::path path = PathOf("initial.txt");
    const WriteResult result = WriteSettingsFile(path, kInitialRecord);
    EXPECT_EQ(result.outcome, WriteOutcome::Written);
    EXPECT_EQ(result.osText, "");
    EXPECT_EQ(ReadWholeFile(path), kInitialFile);
    EXPECT_EQ(fs::file_size(path), 104u);
    EXPECT_EQ(Names(), std::set<std::string>{"initial.txt"});
}

TEST_F(SettingsFile, WrittenFileLoadsTheSameRecord) {
    const fs::path path = PathOf("other.txt");
    ASSERT_EQ(WriteSettingsFile(path, kOtherRecord).outcome, WriteOutcome::Written);
    const ReadResult result = ReadSettingsFile(path);
    ASSERT_EQ(result.outcome, ReadOutcome::Loaded) << result.detail;
    EXPECT_EQ(result.record, kOtherRecord);
}

TEST_F(SettingsFile, ReplacesALongerFileWhole) {
    const fs::path path = PathOf("settings.txt");
    WriteWholeFile(path, std::string(5000, '#'));
    ASSERT_EQ(WriteSettingsFile(path, kInitialRecord).outcome, WriteOutcome::Written);
    EXPECT_EQ(ReadWholeFile(path), kInitialFile);
    EXPECT_EQ(Names(), std::set<std::string>{"settings.txt"});
}

TEST_F(SettingsFile, ReplacedFileKeepsItsPermissions) {
    const fs::path path = PathOf("private.txt");
    WriteWholeFile(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(WriteSettingsFile(path, kInitialRecord).outcome, WriteOutcome::Written);
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ReadWholeFile(path), kInitialFile);
}

TEST_F(SettingsFile, SymbolicLinkStaysALinkAndItsTargetIsWritten) {
    fs::create_directory(PathOf("real"));
    const fs::path target = PathOf("real/settings.txt");
    WriteWholeFile(target, "old");
    const fs::path link = PathOf("link.txt");
    fs::create_symlink("real/settings.txt", link);

    ASSERT_EQ(WriteSettingsFile(link, kInitialRecord).outcome, WriteOutcome::Written);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "real/settings.txt");
    EXPECT_EQ(ReadWholeFile(target), kInitialFile);
    EXPECT_EQ(Names(), (std::set<std::string>{"link.txt", "real"}));
    EXPECT_EQ(std::distance(fs::directory_iterator{PathOf("real")}, fs::directory_iterator{}), 1);

    const ReadResult read = ReadSettingsFile(link);
    EXPECT_EQ(read.outcome, ReadOutcome::Loaded);
    EXPECT_EQ(read.record, kInitialRecord);
}

TEST_F(SettingsFile, ChainOfLinksIsFollowedAndDanglingLinkCreatesItsTarget) {
    const fs::path first = PathOf("first.txt");
    fs::create_symlink("second.txt", first);
    fs::create_symlink(PathOf("missing.txt"), PathOf("second.txt"));

    ASSERT_EQ(WriteSettingsFile(first, kInitialRecord).outcome, WriteOutcome::Written);
    EXPECT_TRUE(fs::is_symlink(first));
    EXPECT_TRUE(fs::is_symlink(PathOf("second.txt")));
    EXPECT_EQ(ReadWholeFile(PathOf("missing.txt")), kInitialFile);
}

TEST_F(SettingsFile, LoopOfLinksCannotBeOpened) {
    fs::create_symlink("b.txt", PathOf("a.txt"));
    fs::create_symlink("a.txt", PathOf("b.txt"));
    const WriteResult written = WriteSettingsFile(PathOf("a.txt"), kInitialRecord);
    EXPECT_EQ(written.outcome, WriteOutcome::CannotOpen);
    EXPECT_NE(written.osText, "");
    EXPECT_EQ(ReadSettingsFile(PathOf("a.txt")).outcome, ReadOutcome::CannotOpen);
    EXPECT_EQ(Names(), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST_F(SettingsFile, PathsThatCannotBeCreatedLeaveNothingBehind) {
    WriteWholeFile(PathOf("plain.txt"), "old");
    fs::create_directory(PathOf("folder"));
    const struct {
        const char* name;
        fs::path path;
    } cases[] = {
        {"folder that does not exist", PathOf("no-such-folder/settings.txt")},
        {"path under a regular file", PathOf("plain.txt/settings.txt")},
        {"existing folder", PathOf("folder")},
        {"folder path with a trailing separator", PathOf("folder") / ""},
        {"empty path", fs::path{}},
    };
    for (const auto& row : cases) {
        const WriteResult result = WriteSettingsFile(row.path, kInitialRecord);
        EXPECT_EQ(result.outcome, WriteOutcome::CannotOpen) << row.name;
        EXPECT_NE(result.osText, "") << row.name;
    }
    EXPECT_EQ(ReadWholeFile(PathOf("plain.txt")), "old");
    EXPECT_TRUE(fs::is_directory(PathOf("folder")));
    EXPECT_TRUE(fs::is_empty(PathOf("folder")));
    EXPECT_EQ(Names(), (std::set<std::string>{"folder", "plain.txt"}));
}

TEST_F(SettingsFile, FullDeviceReportsTheWriteFailure) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    const WriteResult result = WriteSettingsFile("/dev/full", kInitialRecord);
    EXPECT_EQ(result.outcome, WriteOutcome::WriteFailed);
    EXPECT_NE(result.osText, "");
    EXPECT_TRUE(fs::is_character_file("/dev/full")) << "the device was replaced";
}

TEST_F(SettingsFile, LinkToADeviceWritesTheDeviceInPlace) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    fs::create_symlink("/dev/full", PathOf("full.txt"));
    EXPECT_EQ(WriteSettingsFile(PathOf("full.txt"), kInitialRecord).outcome,
              WriteOutcome::WriteFailed);
    EXPECT_TRUE(fs::is_symlink(PathOf("full.txt")));
    EXPECT_EQ(Names(), std::set<std::string>{"full.txt"});
}

// Saves under a file size limit of 40 bytes (which holds for root too) and exits with 42 when
// the save reports the write failure. Runs in a child process so the limit touches nothing else.
[[noreturn]] void SaveUnderFileSizeLimit(const fs::path& path) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{40, 40};
    setrlimit(RLIMIT_FSIZE, &limit);
    const WriteResult result = WriteSettingsFile(path, kInitialRecord);
    std::_Exit(result.outcome == WriteOutcome::WriteFailed && !result.osText.empty() ? 42 : 1);
}

// A write that fails part way leaves the old file as it was and no temporary file beside it.
TEST_F(SettingsFile, FailedWriteKeepsTheOldFile) {
    const fs::path path = PathOf("settings.txt");
    const std::string old = "Baud Rate\t\t300\r\n";
    WriteWholeFile(path, old);
    EXPECT_EXIT(SaveUnderFileSizeLimit(path), ::testing::ExitedWithCode(42), "");
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_EQ(Names(), std::set<std::string>{"settings.txt"});
}

TEST_F(SettingsFile, ReadOnlyFileIsNotReplaced) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    const fs::path path = PathOf("locked.txt");
    WriteWholeFile(path, "old");
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_EQ(WriteSettingsFile(path, kInitialRecord).outcome, WriteOutcome::CannotOpen);
    EXPECT_EQ(ReadWholeFile(path), "old");
    EXPECT_EQ(Names(), std::set<std::string>{"locked.txt"});
}

TEST_F(SettingsFile, ReadsLineFeedOnlyAndOneLineFilesAlike) {
    WriteWholeFile(PathOf("lf.txt"),
                   "Baud Rate\t\t19200\nCheck Bit\t\tNone\nCAN Baud Rate\t\t125K\n"
                   "CAN Protocol\t\tCAN2.0 A\nModbus Slave Address\t1\n");
    WriteWholeFile(
        PathOf("one-line.txt"),
        "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 A Modbus Slave "
        "Address 1");
    for (const char* name : {"lf.txt", "one-line.txt"}) {
        const ReadResult result = ReadSettingsFile(PathOf(name));
        EXPECT_EQ(result.outcome, ReadOutcome::Loaded) << name;
        EXPECT_EQ(result.record, kInitialRecord) << name;
    }
}

TEST_F(SettingsFile, UnrecognisedFilesOnDisk) {
    WriteWholeFile(PathOf("empty.txt"), "");
    WriteWholeFile(
        PathOf("lower.txt"),
        "baud rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 A Modbus Slave "
        "Address 1");
    WriteWholeFile(
        PathOf("joined.txt"),
        "Baud Rate 19200 Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0A Modbus Slave "
        "Address 1");
    std::string junk;
    for (int i = 0; i < 4096; ++i) {
        junk.push_back(static_cast<char>(i * 7919 % 251));
    }
    WriteWholeFile(PathOf("binary.bin"), junk);
    for (const char* name : {"empty.txt", "lower.txt", "joined.txt", "binary.bin"}) {
        const ReadResult result = ReadSettingsFile(PathOf(name));
        EXPECT_EQ(result.outcome, ReadOutcome::Unrecognised) << name;
        EXPECT_NE(result.detail, "") << name;
    }
}

TEST_F(SettingsFile, WhatCannotBeReadAsAFileCannotBeOpened) {
    fs::create_directory(PathOf("folder"));
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    const struct {
        const char* name;
        fs::path path;
    } cases[] = {
        {"missing file", PathOf("missing.txt")},
        {"folder", PathOf("folder")},
        {"pipe without a writer", PathOf("fifo")},
        {"device that never ends", "/dev/zero"},
        {"path under a missing folder", PathOf("nowhere/settings.txt")},
        {"empty path", fs::path{}},
    };
    for (const auto& row : cases) {
        const ReadResult result = ReadSettingsFile(row.path);
        EXPECT_EQ(result.outcome, ReadOutcome::CannotOpen) << row.name;
        EXPECT_NE(result.detail, "") << row.name;
    }
    EXPECT_EQ(ReadSettingsFile(PathOf("missing.txt")).detail, "No such file or directory");
}

TEST_F(SettingsFile, UnreadableFileCannotBeOpened) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    WriteWholeFile(PathOf("secret.txt"), kInitialFile);
    fs::permissions(PathOf("secret.txt"), fs::perms::none);
    EXPECT_EQ(ReadSettingsFile(PathOf("secret.txt")).outcome, ReadOutcome::CannotOpen);
}

// Huge files are read token by token in constant memory: one token of 50 MB is cut to its first
// 127 bytes whether it stands where a label or a value belongs.
TEST_F(SettingsFile, HugeTokensAreCutWithoutReadingTheFileWhole) {
    constexpr size_t kHuge = 50u << 20;
    const fs::path path = PathOf("huge.txt");
    {
        std::ofstream out{path, std::ios::binary};
        out << "Baud Rate ";
        const std::string block(1u << 20, '7');
        for (size_t written = 0; written < kHuge; written += block.size()) {
            out << block;
        }
        out << " Check Bit None CAN Baud Rate 125K CAN Protocol CAN2.0 A Modbus Slave Address 1";
    }
    const ReadResult loaded = ReadSettingsFile(path);
    ASSERT_EQ(loaded.outcome, ReadOutcome::Loaded) << loaded.detail;
    EXPECT_EQ(loaded.record.baudRateText, std::string(kMaxSettingsTokenBytes, '7'));

    fs::resize_file(path, 0);
    {
        std::ofstream out{path, std::ios::binary};
        const std::string block(1u << 20, 'B');
        for (size_t written = 0; written < kHuge; written += block.size()) {
            out << block;
        }
    }
    const ReadResult oneToken = ReadSettingsFile(path);
    EXPECT_EQ(oneToken.outcome, ReadOutcome::Unrecognised);
    EXPECT_LT(oneToken.detail.size(), 400u);
}

}  // namespace
}  // namespace rq508
