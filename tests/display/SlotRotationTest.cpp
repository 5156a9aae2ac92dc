#include <gtest/gtest.h>

#include "TestBench.h"

namespace caltrix::test {
namespace {

using Kind = TickOutcome::Kind;

class RotazioneSlotTest : public ::testing::Test {
protected:
    // Ticks slot k and returns the Testo it wrote, "-" when it wrote none.
    std::string Mostra(int slot) {
        banco.log.clear();
        outcome = banco.display->TickSlot(slot);
        const std::string prefix = "p" + std::to_string(slot) + ".Testo=\r\n";
        for (const auto& call : banco.log) {
            if (call.rfind(prefix, 0) == 0) return call.substr(prefix.size(), call.size() - prefix.size() - 2);
        }
        return "-";
    }
    std::int16_t Posizione(int slot) const { return banco.display->Rotation().PosizioneRiga(slot); }

    TestBench banco;
    TickOutcome outcome{Kind::Shown, {}};
};

TEST_F(RotazioneSlotTest, ShowsEveryLineThenOneEmptyTickThenStartsAgain) {
    banco.Carica(3, "ft a <1-0> b \r\nft c <2-0> d \r\nft e <3-0> f \r\n");
    std::vector<std::string> shown;
    for (int i = 0; i < 5; ++i) shown.push_back(Mostra(3));
    EXPECT_EQ(shown, (std::vector<std::string>{"A-B", "C-D", "E-F", "-", "A-B"}));
    EXPECT_EQ(Posizione(3), 1);
}

TEST_F(RotazioneSlotTest, EmptyTickStopsTheFlashWithoutWritingThePanel) {
    banco.Carica(2, "45\" a <1-0> b \r\n");
    Mostra(2);
    ASSERT_TRUE(banco.Timer(2).Running());
    Mostra(2);
    EXPECT_EQ(banco.log, (Log{"f2.Stop"}));
    EXPECT_EQ(Posizione(2), 2);
}

TEST_F(RotazioneSlotTest, AShorterReloadWrapsToLineOne) {
    std::string seven;
    for (char c = 'a'; c < 'h'; ++c) seven += std::string("ft ") + c + " <1-0> z \r\n";
    banco.Carica(4, seven);
    for (int i = 0; i < 7; ++i) Mostra(4);
    ASSERT_EQ(Posizione(4), 7);
    banco.Carica(4, "ft x <0-0> y \r\nft v <0-0> w \r\n");
    EXPECT_EQ(Mostra(4), "X-Y");
    EXPECT_EQ(Posizione(4), 1);
}

TEST_F(RotazioneSlotTest, ASlotNeverLoadedShowsNothingAndStaysAtZero) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Mostra(5), "-");
        EXPECT_TRUE(banco.log.empty());
        EXPECT_EQ(outcome.kind, Kind::NoLine);
        EXPECT_EQ(Posizione(5), 0);
    }
}

TEST_F(RotazioneSlotTest, ASwitchedOffSlotIsClearedEveryTickAndRestartsAtLineOne) {
    banco.Carica(4, "ft a <1-0> b \r\nft c <2-0> d \r\n");
    Mostra(4);
    Mostra(4);
    banco.interruttori[3] = false;
    for (int i = 0; i < 2; ++i) {
        Mostra(4);
        EXPECT_EQ(banco.log, (Log{"p4.Pulisci()"}));
        EXPECT_EQ(outcome.kind, Kind::SwitchedOff);
        EXPECT_EQ(Posizione(4), 0);
    }
    banco.interruttori[3] = true;
    EXPECT_EQ(Mostra(4), "A-B");
}

TEST_F(RotazioneSlotTest, ASlotWithASingleEmptyLineHandsItOnEveryTick) {
    banco.Carica(6, "\r\n");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Mostra(6), "-");
        EXPECT_EQ(outcome.kind, Kind::Shown);
        EXPECT_EQ(banco.log, (Log{"f6.Stop"}));
    }
}

TEST_F(RotazioneSlotTest, ALineTooShortForAScoreIsPassedOver) {
    banco.Carica(7, "ft a <1-0> b \r\nx\r\nft c <2-0> d \r\n");
    EXPECT_EQ(Mostra(7), "A-B");
    EXPECT_EQ(Mostra(7), "-");
    EXPECT_EQ(outcome.kind, Kind::Shown);
    EXPECT_EQ(Mostra(7), "C-D");
    EXPECT_EQ(Posizione(7), 3);
}

TEST_F(RotazioneSlotTest, UndrawableScoreMarkupIsClearedAndTheRotationGoesOn) {
    banco.Carica(8, "ft a <1-0> b \r\nft c <[-1> d \r\nft e <2-0> f \r\n");
    Mostra(8);
    Mostra(8);
    EXPECT_EQ(outcome.kind, Kind::MarkupDropped);
    EXPECT_EQ(Posizione(8), 2);
    EXPECT_EQ(Mostra(8), "E-F");
    EXPECT_EQ(outcome.kind, Kind::Shown);
}

TEST(ProssimaRigaTest, WrapsAtTheCountAndAtTheSixteenBitLimit) {
    RigheVideo lines;
    lines.Replace(1, {"A", "B"});
    std::int16_t position = 0;
    std::string visti;
    for (int i = 0; i < 6; ++i) visti += "[" + *SlotRotation::NextLine(lines, 1, position) + "]";
    EXPECT_EQ(visti, "[A][B][][A][B][]");

    lines.Replace(2, std::vector<std::string>(40000, "L"));
    position = 32767;
    ASSERT_NE(SlotRotation::NextLine(lines, 2, position), nullptr);
    EXPECT_EQ(position, 1);
}

}  // namespace
}  // namespace caltrix::test
