#include <gtest/gtest.h>

#include "TestBench.h"
#include "display/StoredLine.h"

namespace caltrix::test {
namespace {

class FlashTest : public ::testing::Test {
protected:
    void Start(int slot, const std::string& minute) {
        bench.Interpreter().InterpretaRiga(slot, MatchLine(minute + "\" A-B", "1-0"));
    }
    std::string Markup(const std::string& minute) { return "[14]" + minute + "\" [15]1-0 [12]"; }

    TestBench bench;
};

// A running match alternates from its first tick, dark first. Slots ticking
// in strict turn must each alternate: no flash may stay lit or stay dark
// because of the others.
class FlashInTurnTest : public FlashTest, public ::testing::WithParamInterface<int> {};

TEST_P(FlashInTurnTest, EverySlotAlternatesFromItsFirstTick) {
    const int slots = GetParam();
    for (int k = 1; k <= slots; ++k) Start(k, std::to_string(10 + k));
    for (int round = 0; round < 4; ++round) {
        for (int k = 1; k <= slots; ++k) {
            bench.display->TickFlash(k);
            const std::string expected = round % 2 == 0 ? "" : Markup(std::to_string(10 + k));
            EXPECT_EQ(bench.Pannello(k).TestoPic(), expected) << "slot " << k << " round " << round;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, FlashInTurnTest, ::testing::Values(1, 2, 3));

TEST_F(FlashTest, TheNextLineStopsTheFlashAndShowsSteadily) {
    Start(2, "45");
    bench.display->TickFlash(2);
    ASSERT_EQ(bench.Pannello(2).TestoPic(), "");
    bench.Interpreter().InterpretaRiga(2, MatchLine("FT A-B", "1-0"));
    EXPECT_FALSE(bench.Timer(2).Running());
    EXPECT_EQ(bench.Pannello(2).TestoPic(), "[12]FT [15]1-0");
}

TEST_F(FlashTest, StoppedInTheEmptyPhaseTheStripStaysEmptyUntilTheNextMatchLine) {
    Start(3, "45");
    bench.display->TickFlash(3);
    bench.Interpreter().InterpretaRiga(3, "");
    EXPECT_FALSE(bench.Timer(3).Running());
    EXPECT_EQ(bench.Pannello(3).TestoPic(), "");
}

TEST_F(FlashTest, ARestartedFlashBeginsLitAgain) {
    Start(4, "45");
    bench.display->TickFlash(4);
    bench.display->TickFlash(4);
    bench.display->TickFlash(4);
    Start(4, "46");
    bench.display->TickFlash(4);
    EXPECT_EQ(bench.Pannello(4).TestoPic(), "");
    bench.display->TickFlash(4);
    EXPECT_EQ(bench.Pannello(4).TestoPic(), Markup("46"));
}

TEST(PulisciTest, RemovesEveryAngleBracketAndNothingElse) {
    EXPECT_EQ(Pulisci("<ITALY - SERIE A>"), "ITALY - SERIE A");
    EXPECT_EQ(Pulisci(" a<<b>c> d "), " abc d ");
    EXPECT_EQ(Pulisci(""), "");
}

TEST_F(FlashTest, PulisciPannelloEmptiesSixTextsAndDeletesTheSlotFile) {
    bench.display->PulisciPannello(3);  // no lmVideo3.txt: only the texts
    EXPECT_EQ(bench.log, (Log{"p3.Testo=", "p3.FT=", "p3.FTTesto=", "p3.HT=", "p3.HTTesto=", "p3.InfoTesto="}));

    WriteWholeFile(bench.folder / "lmVideo3.txt", "x\r\n");
    bench.display->PulisciPannello(3);
    EXPECT_FALSE(std::filesystem::exists(bench.folder / "lmVideo3.txt"));
}

TEST_F(FlashTest, ResetPannelloEmptiesTheLinesSoEveryTickGetsAnEmptyLine) {
    bench.Load(5, "ft a <1-0> b \r\nft c <1-0> d \r\n");
    bench.display->TickSlot(5);
    bench.display->ResetPannello(5);
    EXPECT_EQ(bench.display->Lines().Count(5), 0);
    EXPECT_FALSE(std::filesystem::exists(bench.folder / "lmVideo5.txt"));
    for (int i = 0; i < 3; ++i) {
        bench.log.clear();
        EXPECT_EQ(bench.display->TickSlot(5).kind, TickOutcome::Kind::Shown);
        EXPECT_EQ(bench.log, (Log{"f5.Stop"}));
    }
    bench.log.clear();
    bench.display->ResetPannello(0);
    bench.display->ResetPannello(12);
    EXPECT_TRUE(bench.log.empty());
}

}  // namespace
}  // namespace caltrix::test
