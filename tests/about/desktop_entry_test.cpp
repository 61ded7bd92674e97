#include "platform/posix/desktop_entry_posix.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace rq508 {
namespace {

struct ExecCase {
    const char* name;
    std::string entry;
    std::optional<std::string> exec;
    friend void PrintTo(const ExecCase& row, std::ostream* out) { *out << row.name; }
};

class DesktopEntryExec : public ::testing::TestWithParam<ExecCase> {};

TEST_P(DesktopEntryExec, ReadsTheMainGroupsExecKey) {
    std::istringstream entry(GetParam().entry);
    EXPECT_EQ(ReadDesktopEntryExec(entry), GetParam().exec);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DesktopEntryExec,
    ::testing::Values(
        ExecCase{"Plain", "[Desktop Entry]\nName=Browser\nExec=browser %u\n", "browser %u"},
        ExecCase{"BlanksAroundKeyAndValue", "[Desktop Entry]\n Exec = browser %u \n", "browser %u"},
        ExecCase{"ActionGroupIgnored",
                 "[Desktop Action new]\nExec=browser --new\n[Desktop Entry]\nExec=browser %U\n",
                 "browser %U"},
        ExecCase{"SimilarKeysIgnored", "[Desktop Entry]\nTryExec=browser\nExec[de]=x\nExec=b\n",
                 "b"},
        ExecCase{"EscapesResolved", "[Desktop Entry]\nExec=my\\sbrowser \"a\\\\\\\\b\" %u\n",
                 "my browser \"a\\\\b\" %u"},
        ExecCase{"CommentsSkipped", "# Exec=wrong\n[Desktop Entry]\n#Exec=wrong\nExec=right\n",
                 "right"},
        ExecCase{"MissingKey", "[Desktop Entry]\nName=Browser\n", std::nullopt},
        ExecCase{"MissingGroup", "Exec=browser\n", std::nullopt}),
    [](const ::testing::TestParamInfo<ExecCase>& row) { return row.param.name; });

struct CommandCase {
    const char* name;
    std::string exec;
    std::string command;
    friend void PrintTo(const CommandCase& row, std::ostream* out) { *out << row.name; }
};

class ExecToCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(ExecToCommand, FieldCodesBecomeThePlaceholder) {
    EXPECT_EQ(ExecLineToCommand(GetParam().exec), GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExecToCommand,
    ::testing::Values(CommandCase{"SingleUrl", "browser %u", "browser %1"},
                      CommandCase{"UrlList", "browser --new-window %U", "browser --new-window %1"},
                      CommandCase{"Files", "viewer %f", "viewer %1"},
                      CommandCase{"FileList", "viewer %F", "viewer %1"},
                      CommandCase{"IconAndNameDropped", "browser %i %c %k %u", "browser    %1"},
                      CommandCase{"PercentEscaped", "printf 100%% %u", "printf 100% %1"},
                      CommandCase{"NoFieldCode", "browser", "browser"},
                      CommandCase{"TrailingPercentKept", "odd %", "odd %"}),
    [](const ::testing::TestParamInfo<CommandCase>& row) { return row.param.name; });

struct SplitCase {
    const char* name;
    std::string line;
    std::vector<std::string> arguments;
    friend void PrintTo(const SplitCase& row, std::ostream* out) { *out << row.name; }
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, GivesTheArguments) {
    EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().arguments);
}

using Args = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineSplit,
    ::testing::Values(SplitCase{"Blanks", "browser  --new   https://a/",
                                Args{"browser", "--new", "https://a/"}},
                      SplitCase{"QuotedProgramWithSpace", "\"/opt/My Browser/run\"  https://a/",
                                Args{"/opt/My Browser/run", "https://a/"}},
                      SplitCase{"BackslashInQuotes", "\"a\\\"b\\\\c\"", Args{"a\"b\\c"}},
                      SplitCase{"EmptyQuotedArgument", "run \"\" x", Args{"run", "", "x"}},
                      SplitCase{"ShellCharactersStayLiteral", "run $(touch x);`y`|z",
                                Args{"run", "$(touch", "x);`y`|z"}},
                      SplitCase{"QuotesJoinWithNeighbours", "a\"b c\"d", Args{"ab cd"}},
                      SplitCase{"Empty", "   ", Args{}}),
    [](const ::testing::TestParamInfo<SplitCase>& row) { return row.param.name; });

TEST(DesktopFileId, OnlyPlainNamesInTheFolderItself) {
    EXPECT_TRUE(IsPlainDesktopFileId("firefox-esr.desktop"));
    EXPECT_FALSE(IsPlainDesktopFileId("../evil.desktop"));
    EXPECT_FALSE(IsPlainDesktopFileId("/etc/passwd"));
    EXPECT_FALSE(IsPlainDesktopFileId(".desktop"));
    EXPECT_FALSE(IsPlainDesktopFileId(".hidden.desktop"));
    EXPECT_FALSE(IsPlainDesktopFileId("browser"));
    EXPECT_FALSE(IsPlainDesktopFileId(""));
}

}  // namespace
}  // namespace rq508
