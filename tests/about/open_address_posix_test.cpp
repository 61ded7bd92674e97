// The desktop side of opening an address, run for real: stand-in scripts play xdg-open,
// xdg-mime and the browser, and record the arguments they were given.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "platform/open_address.h"
#include "script_folder.h"

namespace rq508 {
namespace {

using rq508::testing::ScriptFolder;

const std::string kAddress = "https://www.example.com/";

class OpenAddressTest : public ::testing::Test {
protected:
    DesktopPrograms Programs(const std::filesystem::path& opener) const {
        DesktopPrograms programs;
        programs.opener = opener.string();
        programs.mimeQuery = (folder / "no-such-xdg-mime").string();
        programs.applicationFolders = {folder / "applications"};
        return programs;
    }

    ScriptFolder folder;
};

TEST_F(OpenAddressTest, OpenerGetsTheAddressAsItsOnlyArgument) {
    const auto opener = folder.WriteRecordingScript("xdg-open", "opened");
    EXPECT_EQ(OpenAddressWithDesktop(Programs(opener), kAddress), 42);
    EXPECT_EQ(folder.WaitForFile("opened"), kAddress + "\n");
}

TEST_F(OpenAddressTest, AddressNeverReachesAShell) {
    const std::string address = "https://x/?a=1;touch \"$DIR/injected\"&b=$(touch $DIR/inj2)`id`";
    const auto opener = folder.WriteRecordingScript("xdg-open", "opened");
    EXPECT_EQ(OpenAddressWithDesktop(Programs(opener), address), 42);
    EXPECT_EQ(folder.WaitForFile("opened"), address + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "injected"));
    EXPECT_FALSE(std::filesystem::exists(folder / "inj2"));
}

struct StatusCase {
    const char* name;
    std::string scriptBody;
    int result;
    friend void PrintTo(const StatusCase& row, std::ostream* out) { *out << row.name; }
};

class OpenerStatus : public OpenAddressTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(OpenerStatus, MapsOntoAResultCode) {
    const auto opener = folder.WriteScript("xdg-open", GetParam().scriptBody);
    EXPECT_EQ(OpenAddressWithDesktop(Programs(opener), kAddress), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Statuses, OpenerStatus,
                         ::testing::Values(StatusCase{"SuccessIsAboveThirtyTwo", "exit 0", 42},
                                           StatusCase{"SyntaxErrorIsUnknown", "exit 1", 1},
                                           StatusCase{"FileMissingIsFileNotFound", "exit 2", 2},
                                           StatusCase{"ToolMissingIsNoAssociation", "exit 3", 31},
                                           StatusCase{"ActionFailedIsNoAssociation", "exit 4", 31},
                                           StatusCase{"NoPermissionIsAccessDenied", "exit 5", 5},
                                           StatusCase{"OtherStatusIsUnknown", "exit 77", 1},
                                           StatusCase{"KilledIsUnknown", "kill -KILL $$", 1}),
                         [](const ::testing::TestParamInfo<StatusCase>& row) {
                             return row.param.name;
                         });

TEST_F(OpenAddressTest, MissingOpenerIsFileNotFound) {
    EXPECT_EQ(OpenAddressWithDesktop(Programs(folder / "no-such-opener"), kAddress), 2);
}

TEST_F(OpenAddressTest, MissingOpenerNameInPathIsFileNotFound) {
    DesktopPrograms programs = Programs({});
    programs.opener = "rq508-no-such-opener-program";
    EXPECT_EQ(OpenAddressWithDesktop(programs, kAddress), 2);
}

TEST_F(OpenAddressTest, OpenerInAMissingFolderIsNotFound) {
    const int result = OpenAddressWithDesktop(Programs(folder / "missing" / "xdg-open"), kAddress);
    EXPECT_EQ(result, 2);
}

TEST_F(OpenAddressTest, OpenerWithoutExecutePermissionIsAccessDenied) {
    // No execute bit at all: not even root may run it.
    const auto opener = folder.WriteFile("xdg-open", "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(OpenAddressWithDesktop(Programs(opener), kAddress), 5);
}

TEST_F(OpenAddressTest, NotAProgramIsBadFormat) {
    const auto opener = folder.WriteFile("xdg-open", std::string("\x7f"
                                                                 "ELF garbage",
                                                                 11));
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    EXPECT_EQ(OpenAddressWithDesktop(Programs(opener), kAddress), 11);
}

// Some openers run the browser in the foreground and end only with it: once the wait is over
// the open counts as done, and the program goes on by itself.
TEST_F(OpenAddressTest, OpenerStillRunningAfterTheWaitCountsAsOpened) {
    const auto opener = folder.WriteScript(
        "xdg-open", "while [ ! -e \"$DIR/release\" ]; do sleep 0.05; done; touch \"$DIR/ended\"");
    DesktopPrograms programs = Programs(opener);
    programs.openerWait = std::chrono::milliseconds(200);
    EXPECT_EQ(OpenAddressWithDesktop(programs, kAddress), 42);
    folder.WriteFile("release", "");
    EXPECT_TRUE(folder.WaitForFile("ended"));
}

class HtmlHandlerTest : public OpenAddressTest {
protected:
    DesktopPrograms WithDefaultHandler(const std::string& answer) {
        DesktopPrograms programs = Programs(folder / "no-such-opener");
        programs.mimeQuery =
            folder
                .WriteScript(
                    "xdg-mime",
                    "[ \"$*\" = 'query default text/html' ] || exit 1\nprintf '" + answer + "'")
                .string();
        std::filesystem::create_directories(folder / "applications");
        return programs;
    }
};

TEST_F(HtmlHandlerTest, ExecLineOfTheDefaultHandlerWithPlaceholder) {
    const auto programs = WithDefaultHandler("browser.desktop\\n");
    folder.WriteFile("applications/browser.desktop",
                     "[Desktop Entry]\nType=Application\nExec=/opt/browser --new %U\n");
    EXPECT_EQ(HtmlHandlerCommand(programs), "/opt/browser --new %1");
}

TEST_F(HtmlHandlerTest, FirstFolderHoldingTheFileWins) {
    auto programs = WithDefaultHandler("browser.desktop\\n");
    std::filesystem::create_directories(folder / "user");
    programs.applicationFolders.insert(programs.applicationFolders.begin(), folder / "user");
    folder.WriteFile("applications/browser.desktop", "[Desktop Entry]\nExec=system %u\n");
    folder.WriteFile("user/browser.desktop", "[Desktop Entry]\nExec=user %u\n");
    EXPECT_EQ(HtmlHandlerCommand(programs), "user %1");
}

TEST_F(HtmlHandlerTest, FirstOfSeveralHandlers) {
    const auto programs = WithDefaultHandler("a.desktop;b.desktop\\n");
    folder.WriteFile("applications/a.desktop", "[Desktop Entry]\nExec=a %u\n");
    EXPECT_EQ(HtmlHandlerCommand(programs), "a %1");
}

struct NoHandlerCase {
    const char* name;
    std::string answer;
    friend void PrintTo(const NoHandlerCase& row, std::ostream* out) { *out << row.name; }
};

class NoHtmlHandler : public HtmlHandlerTest,
                      public ::testing::WithParamInterface<NoHandlerCase> {};

TEST_P(NoHtmlHandler, GivesNothing) {
    const auto programs = WithDefaultHandler(GetParam().answer);
    folder.WriteFile("applications/noexec.desktop", "[Desktop Entry]\nName=No Exec\n");
    folder.WriteFile("evil.desktop", "[Desktop Entry]\nExec=evil %u\n");
    EXPECT_EQ(HtmlHandlerCommand(programs), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NoHtmlHandler,
    ::testing::Values(NoHandlerCase{"EmptyAnswer", ""},
                      NoHandlerCase{"FileMissing", "missing.desktop\\n"},
                      NoHandlerCase{"NoExecKey", "noexec.desktop\\n"},
                      NoHandlerCase{"PathOutsideTheFolders", "../evil.desktop\\n"},
                      NoHandlerCase{"NotADesktopFile", "browser\\n"}),
    [](const ::testing::TestParamInfo<NoHandlerCase>& row) { return row.param.name; });

TEST_F(HtmlHandlerTest, MissingQueryProgramGivesNothing) {
    EXPECT_EQ(HtmlHandlerCommand(Programs(folder / "no-such-opener")), std::nullopt);
}

TEST_F(HtmlHandlerTest, FailingQueryGivesNothing) {
    auto programs = Programs(folder / "no-such-opener");
    programs.mimeQuery = folder.WriteScript("xdg-mime", "echo browser.desktop; exit 3").string();
    folder.WriteFile("applications/browser.desktop", "[Desktop Entry]\nExec=b %u\n");
    EXPECT_EQ(HtmlHandlerCommand(programs), std::nullopt);
}

TEST_F(OpenAddressTest, StartedCommandGetsItsArgumentsWithoutAShell) {
    const auto browser = folder.WriteRecordingScript("my browser", "started");
    const int result = StartCommandLine("\"" + browser.string() + "\" --new  " + kAddress);
    EXPECT_GT(result, 32);
    EXPECT_EQ(folder.WaitForFile("started"), "--new\n" + kAddress + "\n");
}

// The started program runs on by itself: starting it does not wait for it to end.
TEST_F(OpenAddressTest, StartedCommandIsNotWaitedFor) {
    const auto browser = folder.WriteScript(
        "browser", "while [ ! -e \"$DIR/release\" ]; do sleep 0.05; done; touch \"$DIR/ended\"");
    EXPECT_GT(StartCommandLine(browser.string() + " " + kAddress), 32);
    folder.WriteFile("release", "");
    EXPECT_TRUE(folder.WaitForFile("ended"));
}

TEST_F(OpenAddressTest, StartingAMissingProgramIsFileNotFound) {
    EXPECT_EQ(StartCommandLine((folder / "no-such-browser").string() + " " + kAddress), 2);
}

TEST_F(OpenAddressTest, EmptyCommandIsFileNotFound) {
    EXPECT_EQ(StartCommandLine("   "), 2);
}

}  // namespace
}  // namespace rq508
