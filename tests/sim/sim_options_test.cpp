#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace rq508 {
namespace {

struct RefusedOptions {
    const char* name;
    std::vector<std::string> arguments;
    const char* error;
};

class SimOptionsRefused : public ::testing::TestWithParam<RefusedOptions> {};

TEST_P(SimOptionsRefused, NamesTheOptionAndTheValidRange) {
    const SimOptionsResult result = ParseSimOptions(GetParam().arguments);
    EXPECT_FALSE(result.options);
    EXPECT_EQ(result.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    BadArguments, SimOptionsRefused,
    ::testing::Values(
        RefusedOptions{"Unknown", {"--loud"}, "unknown option \"--loud\" (see rq508-sim --help)"},
        RefusedOptions{"MissingNumber", {"--delay"}, "--delay needs a number"},
        RefusedOptions{"NotANumber",
                       {"--split", "ten"},
                       "--split \"ten\" is not a whole number from 1 to 65536"},
        RefusedOptions{"NegativeNumber",
                       {"--delay=-5"},
                       "--delay \"-5\" is not a whole number from 0 to 60000"},
        RefusedOptions{"PartialAsLongAsAFrame",
                       {"--partial", "14"},
                       "--partial \"14\" is not a whole number from 0 to 13"},
        RefusedOptions{"StaleBeyondTheLine",
                       {"--stale", "5000"},
                       "--stale \"5000\" is not a whole number from 1 to 4096"},
        RefusedOptions{"MissingPath", {"--state-file"}, "--state-file needs a path"},
        RefusedOptions{"FlagWithValue", {"--echo=yes"}, "--echo takes no value"},
        RefusedOptions{"TwoWaysToAnswer",
                       {"--silent", "--flood", "200"},
                       "--silent and --flood cannot be combined: choose one way to answer"},
        RefusedOptions{"PauseWithoutSplit",
                       {"--pause", "20"},
                       "--pause needs --split N: it is the pause between the pieces of the "
                       "reply"}),
    [](const auto& row) { return row.param.name; });

TEST(SimOptions, CombinableOptionsAreAllTaken) {
    const SimOptionsResult result = ParseSimOptions(
        {"--garbage", "--bad-checksum", "--wrong-length", "--partial=5", "--split", "2", "--pause",
         "30", "--delay", "100", "--stale", "7", "--no-announce", "--state-file", "/tmp/s.txt"});
    ASSERT_TRUE(result.options) << result.error;
    const Misbehaviour& m = result.options->misbehaviour;
    EXPECT_TRUE(m.garbage && m.badChecksum && m.wrongLength);
    EXPECT_EQ(m.partialBytes, 5u);
    EXPECT_EQ(m.splitBytes, 2u);
    EXPECT_EQ(m.pauseMs, 30u);
    EXPECT_EQ(m.delayMs, 100u);
    EXPECT_EQ(m.staleBytes, 7u);
    EXPECT_FALSE(result.options->announce);
    EXPECT_EQ(result.options->stateFile, "/tmp/s.txt");
}

TEST(SimOptions, HelpAmongOtherOptionsIsHelp) {
    const SimOptionsResult result = ParseSimOptions({"--silent", "--help", "--echo"});
    EXPECT_TRUE(result.helpRequested);
    EXPECT_FALSE(result.options);
}

}  // namespace
}  // namespace rq508
