// Bytes as logs and traces show them.

#include "link/frame_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rq508 {
namespace {

struct HexCase {
    std::string name;
    std::vector<uint8_t> bytes;
    std::string text;
};

class HexTextOf : public testing::TestWithParam<HexCase> {};

TEST_P(HexTextOf, IsUpperCasePairsSeparatedBySingleSpaces) {
    EXPECT_EQ(HexText(GetParam().bytes.data(), GetParam().bytes.size()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Bytes, HexTextOf,
                         testing::Values(HexCase{"Nothing", {}, ""},
                                         HexCase{"OneByte", {0x0A}, "0A"},
                                         HexCase{"EveryDigit",
                                                 {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
                                                 "01 23 45 67 89 AB CD EF"},
                                         HexCase{"UploadRequest",
                                                 {0xFE, 0x02, 0x00, 0x00, 0x02, 0xFD},
                                                 "FE 02 00 00 02 FD"}),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace rq508
