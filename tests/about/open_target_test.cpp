#include "ui/desktop_shell.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace rq508 {
namespace {

// Answers each operation as told and records what it was asked.
class ScriptedShell : public DesktopShell {
public:
    int openResult = 42;
    std::optional<std::string> association;
    int startResult = 33;

    std::vector<std::string> calls;

    int OpenAddress(const std::string& address) override {
        calls.push_back("open " + address);
        return openResult;
    }
    std::optional<std::string> HtmlAssociationCommand() override {
        calls.push_back("association");
        return association;
    }
    int StartCommand(const std::string& commandLine) override {
        calls.push_back("start " + commandLine);
        return startResult;
    }
};

const std::string kAddress = "https://www.example.com/";

TEST(OpenTarget, ShellSuccessIsTheResultAndNothingElseRuns) {
    ScriptedShell shell;
    EXPECT_EQ(OpenTarget(shell, kAddress), 42);
    EXPECT_EQ(shell.calls, std::vector<std::string>{"open " + kAddress});
}

TEST(OpenTarget, ShellFailureStartsTheAssociationWithTheAddress) {
    ScriptedShell shell;
    shell.openResult = 2;
    shell.association = "browser \"%1\"";
    shell.startResult = 33;
    EXPECT_EQ(OpenTarget(shell, kAddress), 33);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"open " + kAddress, "association",
                                                     "start browser  " + kAddress}));
}

TEST(OpenTarget, UnreadableAssociationReportsTheShellFailure) {
    ScriptedShell shell;
    shell.openResult = 31;
    EXPECT_EQ(OpenTarget(shell, kAddress), 31);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"open " + kAddress, "association"}));
}

TEST(OpenTarget, FailedStartReportsTheStartFailure) {
    ScriptedShell shell;
    shell.openResult = 2;
    shell.association = "browser %1";
    shell.startResult = 5;
    EXPECT_EQ(OpenTarget(shell, kAddress), 5);
}

TEST(OpenTarget, ExactlyThirtyTwoIsAFailure) {
    ScriptedShell shell;
    shell.openResult = 32;
    shell.association = "browser";
    EXPECT_EQ(OpenTarget(shell, kAddress), 33);
    EXPECT_EQ(shell.calls.back(), "start browser " + kAddress);
}

}  // namespace
}  // namespace rq508
