#include "MarkupParser.h"

#include <gtest/gtest.h>

namespace Pannello2 {
namespace {

constexpr int kBlack = 0, kGrey = 7, kRed = 12, kYellow = 14, kWhite = 15;

struct DrawnCase {
    const char* markup;
    const char* measuringText;
    std::vector<MarkupSegment> segments;
};

class MarkupDrawn : public testing::TestWithParam<DrawnCase> {};

TEST_P(MarkupDrawn, GivesMeasuringTextAndSegments) {
    const DrawnCase& c = GetParam();
    const MarkupDrawing drawing = ParseMarkup(c.markup);
    EXPECT_FALSE(drawing.failure.has_value());
    EXPECT_EQ(drawing.measuringText, c.measuringText);
    EXPECT_EQ(drawing.segments, c.segments);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamplesAndEdges, MarkupDrawn,
    testing::Values(
        DrawnCase{"[14]HT [15]", "HT ", {{"HT ", kYellow, true}, {"", kWhite, true}}},
        DrawnCase{"Finale", "Finale", {{"Finale", kWhite, true}}}, DrawnCase{"", "", {{"", kWhite, true}}},
        DrawnCase{"[12][B]2-1[/B] 45", "[B]2-1[/B] 45", {{"", kRed, true}, {"2-1", kRed, true}, {" 45", kRed, false}}},
        DrawnCase{"AB[14]CD", "ABCD", {{"CD", kYellow, true}}}, DrawnCase{"ABC", "ABC", {{"ABC", kWhite, true}}},
        DrawnCase{"[15]ABC", "ABC", {{"ABC", kWhite, true}}}, DrawnCase{"[7]", "", {{"", kGrey, true}}},
        DrawnCase{"[/B]Ciao", "[/B]Ciao", {{"Ciao", kRed, false}}},
        DrawnCase{"[15]Ciao[/B] mondo", "Ciao[/B] mondo", {{"Ciao", kWhite, true}, {" mondo", kWhite, false}}},
        DrawnCase{"[F]x[/F]y", "[F]x[/F]y", {{"x", kRed, true}, {"y", kRed, true}}},
        DrawnCase{"[Z]x", "[Z]x", {{"x", kBlack, true}}},
        // Bodies read as numbers: leading numeric part, halves to even.
        DrawnCase{"[ 14abc]x", "[ 14abc]x", {{"x", kYellow, true}}},
        DrawnCase{"[13.5]x", "[13.5]x", {{"x", kYellow, true}}},
        DrawnCase{"[14.5]x", "[14.5]x", {{"x", kYellow, true}}}, DrawnCase{"[2.5]x", "[2.5]x", {{"x", 2, true}}},
        DrawnCase{"[-0.4]x", "[-0.4]x", {{"x", kBlack, true}}}, DrawnCase{"[+7]x", "[+7]x", {{"x", kGrey, true}}},
        DrawnCase{"[b]x", "[b]x", {{"x", kBlack, true}}},
        // Codes are removed from the measuring text one number after another.
        DrawnCase{"[[1]5]x", "x", {{"5]x", kBlack, true}}},
        // A "]" outside a code is plain text.
        DrawnCase{"a]b[14]c", "a]bc", {{"c", kYellow, true}}}, DrawnCase{"[14]a]b", "a]b", {{"a]b", kYellow, true}}}));

struct FailureCase {
    const char* markup;
    MarkupFailure::Kind kind;
    std::size_t segmentsBefore;
};

class MarkupFails : public testing::TestWithParam<FailureCase> {};

TEST_P(MarkupFails, StopsWithTheRightFailureKeepingEarlierSegments) {
    const FailureCase& c = GetParam();
    const MarkupDrawing drawing = ParseMarkup(c.markup);
    ASSERT_TRUE(drawing.failure.has_value());
    EXPECT_EQ(drawing.failure->kind, c.kind);
    EXPECT_FALSE(drawing.failure->message.empty());
    EXPECT_EQ(drawing.segments.size(), c.segmentsBefore);
}

INSTANTIATE_TEST_SUITE_P(Failures, MarkupFails,
                         testing::Values(FailureCase{"[16]x", MarkupFailure::Kind::InvalidArgument, 0},
                                         FailureCase{"[-1]x", MarkupFailure::Kind::InvalidArgument, 0},
                                         FailureCase{"[15.5]x", MarkupFailure::Kind::InvalidArgument, 0},
                                         FailureCase{"x[14", MarkupFailure::Kind::InvalidArgument, 0},
                                         FailureCase{"[14]ok[", MarkupFailure::Kind::InvalidArgument, 1},
                                         FailureCase{"[14]ok[99]no", MarkupFailure::Kind::InvalidArgument, 1},
                                         FailureCase{"[32767]x", MarkupFailure::Kind::InvalidArgument, 0},
                                         FailureCase{"[32768]x", MarkupFailure::Kind::Overflow, 0},
                                         FailureCase{"[-32769]x", MarkupFailure::Kind::Overflow, 0},
                                         FailureCase{"[32767.5]x", MarkupFailure::Kind::Overflow, 0},
                                         FailureCase{"[9999999999999999999999999999]x", MarkupFailure::Kind::Overflow,
                                                     0}));

TEST(MarkupPalette, HoldsTheSixteenColoursAsBgr) {
    EXPECT_EQ(PaletteColour(1), 0x800000u);
    EXPECT_EQ(PaletteColour(4), 0x000080u);
    EXPECT_EQ(PaletteColour(7), 0xC0C0C0u);
    EXPECT_EQ(PaletteColour(12), 0x0000FFu);
    EXPECT_EQ(PaletteColour(14), 0x00FFFFu);
    EXPECT_EQ(PaletteColour(15), 0xFFFFFFu);
}

}  // namespace
}  // namespace Pannello2
