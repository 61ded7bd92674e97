#include "ui/link_label_logic.h"

#include <gtest/gtest.h>

#include <ostream>

namespace rq508 {
namespace {

struct FitCase {
    const char* name;
    EdgeRect control;
    int textWidth;
    int textHeight;
    LabelAlignment alignment;
    bool centerVertically;
    EdgeRect expected;

    friend void PrintTo(const FitCase& row, std::ostream* out) { *out << row.name; }
};

class FitToText : public testing::TestWithParam<FitCase> {};

TEST_P(FitToText, MovesTheEdgesTheAlignmentLeavesFree) {
    const FitCase& c = GetParam();
    EXPECT_EQ(FitRectToText(c.control, c.textWidth, c.textHeight, c.alignment, c.centerVertically),
              c.expected);
}

using A = LabelAlignment;

INSTANTIATE_TEST_SUITE_P(
    Cases, FitToText,
    testing::Values(
        FitCase{"LeftKeepsTopLeftAndTakesTextSize",
                {21, 133, 161, 146},
                150,
                15,
                A::Left,
                false,
                {21, 133, 171, 148}},
        FitCase{"LeftShrinksToShorterText",
                {10, 20, 200, 40},
                50,
                12,
                A::Left,
                false,
                {10, 20, 60, 32}},
        FitCase{
            "RightKeepsRightEdge", {10, 20, 200, 40}, 50, 12, A::Right, false, {150, 20, 200, 32}},
        FitCase{"CenterEvenDifferenceKeepsCentreExactly",
                {10, 0, 110, 10},
                60,
                10,
                A::Center,
                false,
                {30, 0, 90, 10}},
        // 100 - 61 = 39: each edge moves by 19, the control ends one pixel wider than the text.
        FitCase{"CenterOddDifferenceEndsOnePixelWider",
                {10, 0, 110, 10},
                61,
                10,
                A::Center,
                false,
                {29, 0, 91, 10}},
        // 100 - 121 = -21: each edge moves outwards by 10, one pixel narrower than the text.
        FitCase{"CenterWiderTextOddDifferenceEndsOnePixelNarrower",
                {10, 0, 110, 10},
                121,
                10,
                A::Center,
                false,
                {0, 0, 120, 10}},
        FitCase{"CenterImageKeepsVerticalCentre",
                {0, 10, 50, 40},
                50,
                10,
                A::Left,
                true,
                {0, 20, 50, 30}},
        FitCase{"CenterImageOddDifferenceTruncates",
                {0, 10, 50, 41},
                50,
                10,
                A::Left,
                true,
                {0, 20, 50, 31}},
        FitCase{"CenterImageTallerTextMovesEdgesOutwards",
                {0, 10, 50, 20},
                50,
                15,
                A::Left,
                true,
                {0, 8, 50, 22}},
        FitCase{"CenterAndCenterImageTogether",
                {0, 0, 100, 100},
                40,
                20,
                A::Center,
                true,
                {30, 40, 70, 60}}),
    [](const testing::TestParamInfo<FitCase>& row) { return row.param.name; });

struct ColorCase {
    const char* name;
    bool pointerInside;
    bool visited;
    Rgb expected;

    friend void PrintTo(const ColorCase& row, std::ostream* out) { *out << row.name; }
};

class LinkColor : public testing::TestWithParam<ColorCase> {};

constexpr Rgb kHighlight = 0x3daee9;

TEST_P(LinkColor, FollowsHoverThenVisited) {
    const ColorCase& c = GetParam();
    const LinkColors colors{kLinkNormalColor, kLinkVisitedColor, kHighlight};
    EXPECT_EQ(LinkTextColor(colors, c.pointerInside, c.visited), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    States, LinkColor,
    testing::Values(ColorCase{"NormalIsBlue", false, false, 0x0000EE},
                    ColorCase{"VisitedIsPurple", false, true, 0x551A8B},
                    ColorCase{"HoverOverNormal", true, false, kHighlight},
                    ColorCase{"HoverTakesPrecedenceOverVisited", true, true, kHighlight}),
    [](const testing::TestParamInfo<ColorCase>& row) { return row.param.name; });

}  // namespace
}  // namespace rq508
