#include <gtest/gtest.h>

#include "TestBench.h"
#include "display/core/StoredLine.h"

namespace caltrix::test {
namespace {

class FlashTest : public ::testing::Test {
protected:
    void Start(int slot, const std::string& minute) {
        banco.Interpreter().InterpretaRiga(slot, Partita(minute + "\" A-B", "1-0"));
    }
    std::string Markup(const std::string& minute) { return "[14]" + minute + "\" [15]1-0 [12]"; }

    TestBench banco;
};

TEST_F(FlashTest, ARunningMatchAlternatesFromItsFirstTick) {
    Start(1, "45");
    std::vector<std::string> strip;
    for (int i = 0; i < 4; ++i) {
        banco.display->TickFlash(1);
        strip.push_back(banco.Pannello(1).TestoPic());
    }
    EXPECT_EQ(strip, (std::vector<std::string>{"", Markup("45"), "", Markup("45")}));
}

// Slots ticking in strict turn must each alternate: no flash may stay lit or
// stay dark because of the others.
class FlashInTurnTest : public FlashTest, public ::testing::WithParamInterface<int> {};

TEST_P(FlashInTurnTest, EverySlotAlternatesOnEachOfItsTicks) {
    const int slots = GetParam();
    for (int k = 1; k <= slots; ++k) Start(k, std::to_string(10 + k));
    for (int round = 0; round < 4; ++round) {
        for (int k = 1; k <= slots; ++k) {
            banco.display->TickFlash(k);
            const std::string expected = round % 2 == 0 ? "" : Markup(std::to_string(10 + k));
            EXPECT_EQ(banco.Pannello(k).TestoPic(), expected) << "slot " << k << " round " << round;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, FlashInTurnTest, ::testing::Values(2, 3));

TEST_F(FlashTest, TheNextLineStopsTheFlashAndShowsSteadily) {
    Start(2, "45");
    banco.display->TickFlash(2);
    ASSERT_EQ(banco.Pannello(2).TestoPic(), "");
    banco.Interpreter().InterpretaRiga(2, Partita("FT A-B", "1-0"));
    EXPECT_FALSE(banco.Timer(2).Running());
    EXPECT_EQ(banco.Pannello(2).TestoPic(), "[12]FT [15]1-0");
}

TEST_F(FlashTest, StoppedInTheEmptyPhaseTheStripStaysEmptyUntilTheNextMatchLine) {
    Start(3, "45");
    banco.display->TickFlash(3);
    banco.Interpreter().InterpretaRiga(3, "");
    EXPECT_FALSE(banco.Timer(3).Running());
    EXPECT_EQ(banco.Pannello(3).TestoPic(), "");
}

TEST_F(FlashTest, ARestartedFlashBeginsLitAgain) {
    Start(4, "45");
    banco.display->TickFlash(4);
    banco.display->TickFlash(4);
    banco.display->TickFlash(4);
    Start(4, "46");
    banco.display->TickFlash(4);
    EXPECT_EQ(banco.Pannello(4).TestoPic(), "");
    banco.display->TickFlash(4);
    EXPECT_EQ(banco.Pannello(4).TestoPic(), Markup("46"));
}

TEST(PulisciTest, RemovesEveryAngleBracketAndNothingElse) {
    EXPECT_EQ(Pulisci("<ITALY - SERIE A>"), "ITALY - SERIE A");
    EXPECT_EQ(Pulisci(" a<<b>c> d "), " abc d ");
    EXPECT_EQ(Pulisci(""), "");
}

TEST_F(FlashTest, PulisciPannelloEmptiesSixTextsAndDeletesTheSlotFile) {
    banco.display->PulisciPannello(3);  // no lmVideo3.txt: only the texts
    EXPECT_EQ(banco.log, (Log{"p3.Testo=", "p3.FT=", "p3.FTTesto=", "p3.HT=", "p3.HTTesto=", "p3.InfoTesto="}));

    banco.folder.Scrivi("lmVideo3.txt", "x\r\n");
    banco.display->PulisciPannello(3);
    EXPECT_FALSE(std::filesystem::exists(banco.folder.Path() / "lmVideo3.txt"));
}

TEST_F(FlashTest, ResetPannelloEmptiesTheLinesSoEveryTickGetsAnEmptyLine) {
    banco.Carica(5, "ft a <1-0> b \r\nft c <1-0> d \r\n");
    banco.display->TickSlot(5);
    banco.display->ResetPannello(5);
    EXPECT_EQ(banco.display->Lines().Count(5), 0);
    EXPECT_FALSE(std::filesystem::exists(banco.folder.Path() / "lmVideo5.txt"));
    for (int i = 0; i < 3; ++i) {
        banco.log.clear();
        EXPECT_EQ(banco.display->TickSlot(5).kind, TickOutcome::Kind::Shown);
        EXPECT_EQ(banco.log, (Log{"f5.Stop"}));
    }
    banco.log.clear();
    banco.display->ResetPannello(0);
    banco.display->ResetPannello(12);
    EXPECT_TRUE(banco.log.empty());
}

}  // namespace
}  // namespace caltrix::test
