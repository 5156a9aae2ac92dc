#include <gtest/gtest.h>

#include "TestBench.h"

namespace caltrix::test {
namespace {

using namespace std::chrono_literals;

class GoalTest : public ::testing::Test {
protected:
    GoalTest() {
        bench.display->SetGoalHold(20s, [this] { return now; });
    }

    // Slot 2's file: one competition, two running matches (a minute mark
    // written with and without a blank after it).
    void Load(const std::string& alphaBeta, const std::string& gammaDelta) {
        bench.Load(2, "<Cup One>\r\n50\"Alpha <" + alphaBeta + "> Beta \r\n50\" Gamma <" + gammaDelta + "> Delta \r\n");
    }
    std::string Strip() { return bench.Pannello(2).TestoPic(); }

    TestBench bench;
    SlotDisplay::Clock::time_point now{};
};

TEST_F(GoalTest, GoalsAreHeldInTurnAndAGoalTakenBackShowsAtOnceUnmarked) {
    Load("0-0", "0-0");  // the first load marks nothing
    EXPECT_FALSE(bench.display->Held(2));
    EXPECT_FALSE(bench.display->UntilNextHoldEnd());  // nothing to time
    Load("1-0", "0-1");                               // two goals: Alpha's is shown at once, Delta's waits
    now += 5s;
    EXPECT_EQ(bench.display->UntilNextHoldEnd(), SlotDisplay::Clock::duration(15s));
    now -= 5s;
    EXPECT_EQ(bench.Pannello(2).Titolo(), "CUP ONE");
    EXPECT_EQ(Strip(), "[14]GOAL 1-0 ALPHA");
    EXPECT_TRUE(bench.Timer(2).Running());
    EXPECT_EQ(bench.display->Held(2)->change.TickerText(), "GOAL  ALPHA 1 - 0 BETA  (CUP ONE)");
    bench.display->TickFlash(2);
    EXPECT_EQ(Strip(), "[12]GOAL [15]1-0[12] ALPHA");  // it alternates, never dark
    bench.display->TickSlot(2);                        // the rotation waits
    EXPECT_EQ(Strip(), "[12]GOAL [15]1-0[12] ALPHA");
    Load("2-0", "0-1");  // Alpha again: the newer score replaces the held one at once
    EXPECT_EQ(Strip(), "[14]GOAL 2-0 ALPHA");

    now += 20s;
    EXPECT_TRUE(bench.display->TickHolds().empty());
    EXPECT_EQ(Strip(), "[14]GOAL 0-1 DELTA");
    Load("1-0", "0-1");  // Alpha's second goal taken back: shown at once without a mark, Delta's goal waits again
    EXPECT_EQ(Strip(), "[14]50\" [15]1-0 [12]");
    EXPECT_EQ(bench.display->Held(2)->change.kind, ScoreChange::Kind::TakenBack);
    now += 20s;
    EXPECT_TRUE(bench.display->TickHolds().empty());
    EXPECT_EQ(Strip(), "[14]GOAL 0-1 DELTA");
    now += 20s;
    EXPECT_EQ(bench.display->TickHolds(), std::vector<int>{2});
    EXPECT_FALSE(bench.display->Held(2));
    EXPECT_FALSE(bench.display->UntilNextHoldEnd());
}

// The "-" between the sides is the one the loader put there, not a side's own.
TEST_F(GoalTest, HyphenatedSidesAreNamedWhole) {
    const auto load = [this](const std::string& score) {
        bench.Load(2, "<Cup One>\r\n50\"Saint-Etienne <" + score + "> Paris Saint-Germain \r\n");
    };
    load("0-0");
    load("1-0");
    EXPECT_EQ(Strip(), "[14]GOAL 1-0 SAINT-ETIENNE");
    EXPECT_EQ(bench.display->Held(2)->change.TickerText(), "GOAL  SAINT-ETIENNE 1 - 0 PARIS SAINT-GERMAIN  (CUP ONE)");
    load("1-1");
    EXPECT_EQ(bench.display->Held(2)->change.ScorerName(), "PARIS SAINT-GERMAIN");
}

TEST_F(GoalTest, TakenBackReplacesTheHeldGoalOfItsMatchAndNewMatchesMarkNothing) {
    Load("0-0", "0-0");
    bench.Interpreter().SetPanSel(2);
    Load("1-0", "0-0");
    EXPECT_EQ(bench.solo.TestoPic(), "[14]GOAL 1-0 ALPHA");  // the single-panel window holds it too
    Load("0-0", "0-0");                                      // replaces the held goal at once
    EXPECT_EQ(Strip(), "[14]50\" [15]0-0 [12]");
    EXPECT_EQ(bench.solo.TestoPic(), "[14]50\" [15]0-0 [12]");
    bench.Load(2, "<Cup One>\r\n50\" Omega <3-0> Sigma \r\n");  // a match that first appears
    now += 20s;
    bench.display->TickHolds();
    EXPECT_FALSE(bench.display->Held(2));
}

}  // namespace
}  // namespace caltrix::test
