#include "ui/hyperlink_command.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace rq508 {
namespace {

struct CommandCase {
    const char* name;
    std::string association;
    std::string address;
    std::string expected;

    friend void PrintTo(const CommandCase& row, std::ostream* out) { *out << row.name; }
};

class AssociationCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(AssociationCommand, ReplacesThePlaceholderWithTheAddress) {
    const CommandCase& c = GetParam();
    EXPECT_EQ(BuildAssociationCommand(c.association, c.address), c.expected);
}

const std::string kAddress = "https://www.example.com/";

INSTANTIATE_TEST_SUITE_P(
    Cases, AssociationCommand,
    testing::Values(
        CommandCase{"QuotedPlaceholderDropsQuotesAndTail",
                    "\"C:\\Browser\\browser.exe\" -nohome \"%1\" -extra", kAddress,
                    "\"C:\\Browser\\browser.exe\" -nohome  " + kAddress},
        CommandCase{"SpaceBeforeQuotedPlaceholderGivesTwoSpaces", "browser \"%1\"", kAddress,
                    "browser  " + kAddress},
        CommandCase{"PlainPlaceholderCutThere", "browser -url %1 -new", kAddress,
                    "browser -url  " + kAddress},
        CommandCase{"PlaceholderRightAfterProgram", "browser%1", kAddress, "browser " + kAddress},
        CommandCase{"NoPlaceholderAppendsAtTheEnd", "browser --new-window", kAddress,
                    "browser --new-window " + kAddress},
        CommandCase{"QuotedPlaceholderWinsOverAnEarlierPlainOne", "browser %1 \"%1\"", kAddress,
                    "browser %1  " + kAddress},
        CommandCase{"EmptyCommandGivesSpaceAndAddress", "", kAddress, " " + kAddress},
        // A fixed 520-byte buffer used to end here; the command grows with its parts.
        CommandCase{"LongerThanAnyFixedBuffer", std::string(700, 'b') + " \"%1\"",
                    std::string(600, 'a'), std::string(700, 'b') + "  " + std::string(600, 'a')}),
    [](const testing::TestParamInfo<CommandCase>& row) { return row.param.name; });

struct WarningCase {
    const char* name;
    int code;
    std::string text;

    friend void PrintTo(const WarningCase& row, std::ostream* out) { *out << row.name; }
};

class OpenWarning : public testing::TestWithParam<WarningCase> {};

TEST_P(OpenWarning, NamesTheFailure) {
    const WarningCase& c = GetParam();
    EXPECT_EQ(OpenErrorMessage(c.code), "Unable to open hyperlink:\n\n" + c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, OpenWarning,
    testing::Values(
        WarningCase{"OutOfResources", 0, "The operating system is out\nof memory or resources."},
        WarningCase{"FileNotFound", 2, "The specified file was not found."},
        WarningCase{"PathNotFound", 3, "The specified path was not found."},
        WarningCase{"AccessDenied", 5,
                    "The operating system denied\naccess to the specified file."},
        WarningCase{"OutOfMemory", 8, "There was not enough memory to complete the operation."},
        WarningCase{"BadFormat", 11,
                    "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        WarningCase{"SharingViolationEndsInSpace", 26, "A sharing violation occurred. "},
        WarningCase{"AssociationIncomplete", 27,
                    "The filename association is\nincomplete or invalid."},
        WarningCase{"DdeTimeout", 28,
                    "The DDE transaction could not\nbe completed because the request timed out."},
        WarningCase{"DdeFailed", 29, "The DDE transaction failed."},
        WarningCase{"DdeBusy", 30,
                    "The DDE transaction could not\nbe completed because other DDE "
                    "transactions\nwere being processed."},
        WarningCase{"NoAssociation", 31,
                    "There is no application associated\nwith the given filename extension."},
        WarningCase{"DllNotFound", 32, "The specified dynamic-link library was not found."},
        WarningCase{"UnknownOne", 1, "Unknown Error (1) occurred."},
        WarningCase{"UnknownNegative", -1, "Unknown Error (-1) occurred."},
        WarningCase{"UnknownBetweenNamedCodes", 4, "Unknown Error (4) occurred."}),
    [](const testing::TestParamInfo<WarningCase>& row) { return row.param.name; });

}  // namespace
}  // namespace rq508
