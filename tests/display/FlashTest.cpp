#include <gtest/gtest.h>

#include "TestBench.h"
#include "display/core/StoredLine.h"

namespace caltrix::test {
namespace {

class FlashTest : public ::testing::Test {
protected:
    void Avvia(int slot, const std::string& minuto) {
        banco.Interprete().InterpretaRiga(slot, Partita(minuto + "\" A-B", "1-0"));
    }
    std::string Markup(const std::string& minuto) { return "[14]" + minuto + "\" [15]1-0 [12]"; }

    Banco banco;
};

TEST_F(FlashTest, ARunningMatchAlternatesFromItsFirstTick) {
    Avvia(1, "45");
    std::vector<std::string> strip;
    for (int i = 0; i < 4; ++i) {
        banco.tabellone->TickFlash(1);
        strip.push_back(banco.Pannello(1).TestoPic());
    }
    EXPECT_EQ(strip, (std::vector<std::string>{"", Markup("45"), "", Markup("45")}));
}

// Slots ticking in strict turn must each alternate: no flash may stay lit or
// stay dark because of the others.
class FlashInTurnTest : public FlashTest, public ::testing::WithParamInterface<int> {};

TEST_P(FlashInTurnTest, EverySlotAlternatesOnEachOfItsTicks) {
    const int slots = GetParam();
    for (int k = 1; k <= slots; ++k) Avvia(k, std::to_string(10 + k));
    for (int round = 0; round < 4; ++round) {
        for (int k = 1; k <= slots; ++k) {
            banco.tabellone->TickFlash(k);
            const std::string expected = round % 2 == 0 ? "" : Markup(std::to_string(10 + k));
            EXPECT_EQ(banco.Pannello(k).TestoPic(), expected) << "slot " << k << " round " << round;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, FlashInTurnTest, ::testing::Values(2, 3));

TEST_F(FlashTest, TheNextLineStopsTheFlashAndShowsSteadily) {
    Avvia(2, "45");
    banco.tabellone->TickFlash(2);
    ASSERT_EQ(banco.Pannello(2).TestoPic(), "");
    banco.Interprete().InterpretaRiga(2, Partita("FT A-B", "1-0"));
    EXPECT_FALSE(banco.Timer(2).Running());
    EXPECT_EQ(banco.Pannello(2).TestoPic(), "[12]FT [15]1-0");
}

TEST_F(FlashTest, StoppedInTheEmptyPhaseTheStripStaysEmptyUntilTheNextMatchLine) {
    Avvia(3, "45");
    banco.tabellone->TickFlash(3);
    banco.Interprete().InterpretaRiga(3, "");
    EXPECT_FALSE(banco.Timer(3).Running());
    EXPECT_EQ(banco.Pannello(3).TestoPic(), "");
}

TEST_F(FlashTest, ARestartedFlashBeginsLitAgain) {
    Avvia(4, "45");
    banco.tabellone->TickFlash(4);
    banco.tabellone->TickFlash(4);
    banco.tabellone->TickFlash(4);
    Avvia(4, "46");
    banco.tabellone->TickFlash(4);
    EXPECT_EQ(banco.Pannello(4).TestoPic(), "");
    banco.tabellone->TickFlash(4);
    EXPECT_EQ(banco.Pannello(4).TestoPic(), Markup("46"));
}

TEST(PulisciTest, RemovesEveryAngleBracketAndNothingElse) {
    EXPECT_EQ(Pulisci("<ITALY - SERIE A>"), "ITALY - SERIE A");
    EXPECT_EQ(Pulisci(" a<<b>c> d "), " abc d ");
    EXPECT_EQ(Pulisci(""), "");
}

TEST_F(FlashTest, PulisciPannelloEmptiesSixTextsAndDeletesTheSlotFile) {
    banco.tabellone->PulisciPannello(3);  // no lmVideo3.txt: only the texts
    EXPECT_EQ(banco.log, (Log{"p3.Testo=", "p3.FT=", "p3.FTTesto=", "p3.HT=", "p3.HTTesto=", "p3.InfoTesto="}));

    banco.cartella.Scrivi("lmVideo3.txt", "x\r\n");
    banco.tabellone->PulisciPannello(3);
    EXPECT_FALSE(std::filesystem::exists(banco.cartella.Path() / "lmVideo3.txt"));
}

TEST_F(FlashTest, ResetPannelloEmptiesTheLinesSoEveryTickGetsAnEmptyLine) {
    banco.Carica(5, "ft a <1-0> b \r\nft c <1-0> d \r\n");
    banco.tabellone->TickSlot(5);
    banco.tabellone->ResetPannello(5);
    EXPECT_EQ(banco.tabellone->Righe().Count(5), 0);
    EXPECT_FALSE(std::filesystem::exists(banco.cartella.Path() / "lmVideo5.txt"));
    for (int i = 0; i < 3; ++i) {
        banco.log.clear();
        EXPECT_EQ(banco.tabellone->TickSlot(5).tipo, EsitoTick::Tipo::Mostrata);
        EXPECT_EQ(banco.log, (Log{"f5.Stop"}));
    }
    banco.log.clear();
    banco.tabellone->ResetPannello(0);
    banco.tabellone->ResetPannello(12);
    EXPECT_TRUE(banco.log.empty());
}

}  // namespace
}  // namespace caltrix::test
