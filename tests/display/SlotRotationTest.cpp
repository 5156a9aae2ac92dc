#include <gtest/gtest.h>

#include "TestBench.h"

namespace caltrix::test {
namespace {

using Kind = TickOutcome::Kind;

class SlotRotationTest : public ::testing::Test {
protected:
    // Ticks slot k and returns the Testo it wrote, "-" when it wrote none.
    std::string ShowAbout(int slot) {
        bench.log.clear();
        outcome = bench.display->TickSlot(slot);
        const std::string prefix = "p" + std::to_string(slot) + ".Testo=\r\n";
        for (const auto& call : bench.log) {
            if (call.rfind(prefix, 0) == 0) return call.substr(prefix.size(), call.size() - prefix.size() - 2);
        }
        return "-";
    }
    std::int16_t Position(int slot) const { return bench.display->Rotation().PosizioneRiga(slot); }

    TestBench bench;
    TickOutcome outcome{Kind::Shown, {}};
};

TEST_F(SlotRotationTest, ShowsEveryLineThenOneEmptyTickThenStartsAgain) {
    bench.Load(3, "ft a <1-0> b \r\nft c <2-0> d \r\nft e <3-0> f \r\n");
    std::vector<std::string> shown;
    for (int i = 0; i < 5; ++i) shown.push_back(ShowAbout(3));
    EXPECT_EQ(shown, (std::vector<std::string>{"A-B", "C-D", "E-F", "-", "A-B"}));
    EXPECT_EQ(Position(3), 1);
}

TEST_F(SlotRotationTest, EmptyTickStopsTheFlashWithoutWritingThePanel) {
    bench.Load(2, "45\" a <1-0> b \r\n");
    ShowAbout(2);
    ASSERT_TRUE(bench.Timer(2).Running());
    ShowAbout(2);
    EXPECT_EQ(bench.log, (Log{"f2.Stop"}));
    EXPECT_EQ(Position(2), 2);
}

TEST_F(SlotRotationTest, AShorterReloadWrapsToLineOne) {
    std::string seven;
    for (char c = 'a'; c < 'h'; ++c) seven += std::string("ft ") + c + " <1-0> z \r\n";
    bench.Load(4, seven);
    for (int i = 0; i < 7; ++i) ShowAbout(4);
    ASSERT_EQ(Position(4), 7);
    bench.Load(4, "ft x <0-0> y \r\nft v <0-0> w \r\n");
    EXPECT_EQ(ShowAbout(4), "X-Y");
    EXPECT_EQ(Position(4), 1);
}

TEST_F(SlotRotationTest, ASlotNeverLoadedShowsNothingAndStaysAtZero) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ShowAbout(5), "-");
        EXPECT_TRUE(bench.log.empty());
        EXPECT_EQ(outcome.kind, Kind::NoLine);
        EXPECT_EQ(Position(5), 0);
    }
}

TEST_F(SlotRotationTest, ASwitchedOffSlotIsClearedEveryTickAndRestartsAtLineOne) {
    bench.Load(4, "ft a <1-0> b \r\nft c <2-0> d \r\n");
    ShowAbout(4);
    ShowAbout(4);
    bench.switches[3] = false;
    for (int i = 0; i < 2; ++i) {
        ShowAbout(4);
        EXPECT_EQ(bench.log, (Log{"p4.Pulisci()"}));
        EXPECT_EQ(outcome.kind, Kind::SwitchedOff);
        EXPECT_EQ(Position(4), 0);
    }
    bench.switches[3] = true;
    EXPECT_EQ(ShowAbout(4), "A-B");
}

TEST_F(SlotRotationTest, ASlotWithASingleEmptyLineHandsItOnEveryTick) {
    bench.Load(6, "\r\n");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ShowAbout(6), "-");
        EXPECT_EQ(outcome.kind, Kind::Shown);
        EXPECT_EQ(bench.log, (Log{"f6.Stop"}));
    }
}

TEST_F(SlotRotationTest, ALineTooShortForAScoreIsPassedOver) {
    bench.Load(7, "ft a <1-0> b \r\nx\r\nft c <2-0> d \r\n");
    EXPECT_EQ(ShowAbout(7), "A-B");
    EXPECT_EQ(ShowAbout(7), "-");
    EXPECT_EQ(outcome.kind, Kind::Shown);
    EXPECT_EQ(ShowAbout(7), "C-D");
    EXPECT_EQ(Position(7), 3);
}

TEST_F(SlotRotationTest, UndrawableScoreMarkupIsClearedAndTheRotationGoesOn) {
    bench.Load(8, "ft a <1-0> b \r\nft c <[-1> d \r\nft e <2-0> f \r\n");
    ShowAbout(8);
    ShowAbout(8);
    EXPECT_EQ(outcome.kind, Kind::MarkupDropped);
    EXPECT_EQ(Position(8), 2);
    EXPECT_EQ(ShowAbout(8), "E-F");
    EXPECT_EQ(outcome.kind, Kind::Shown);
}

TEST(NextLineTest, WrapsAtTheCountAndAtTheSixteenBitLimit) {
    RigheVideo lines;
    lines.Replace(1, {"A", "B"});
    std::int16_t position = 0;
    std::string seen;
    for (int i = 0; i < 6; ++i) seen += "[" + *SlotRotation::NextLine(lines, 1, position) + "]";
    EXPECT_EQ(seen, "[A][B][][A][B][]");

    lines.Replace(2, std::vector<std::string>(40000, "L"));
    position = 32767;
    ASSERT_NE(SlotRotation::NextLine(lines, 2, position), nullptr);
    EXPECT_EQ(position, 1);
}

}  // namespace
}  // namespace caltrix::test
