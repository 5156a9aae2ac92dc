#include <QTest>

#include <gtest/gtest.h>

#include "CaptionLabel.h"
#include "PanelTestSupport.h"

namespace Pannello2 {
namespace {

const QColor kLightYellow(255, 255, 0);

struct BlinkCase {
    const char* name;
    bool (Pannello::*on)();
    bool (Pannello::*off)();
    PanelTimer timer;
    const char* leader;
    const char* follower;  // null when the label blinks alone
};

class PannelloBlink : public testing::TestWithParam<BlinkCase> {
protected:
    std::vector<CaptionLabel*> blinking(Pannello& panel) const {
        std::vector<CaptionLabel*> labels{&Label(panel, GetParam().leader)};
        if (GetParam().follower) labels.push_back(&Label(panel, GetParam().follower));
        return labels;
    }
};

TEST_P(PannelloBlink, AlternatesOnTicksAndSteadyShowsAgain) {
    const BlinkCase& c = GetParam();
    TestPanel panel;
    const auto labels = blinking(*panel);
    EXPECT_FALSE(((*panel).*c.on)());
    EXPECT_TRUE(panel->TimerActive(c.timer));
    EXPECT_EQ(panel->TimerInterval(c.timer), 500);
    for (CaptionLabel* label : labels) EXPECT_FALSE(label->isHidden()) << "before the first tick";

    panel->Tick(c.timer);
    for (CaptionLabel* label : labels) EXPECT_TRUE(label->isHidden());
    panel->Tick(c.timer);
    for (CaptionLabel* label : labels) EXPECT_FALSE(label->isHidden());
    panel->Tick(c.timer);

    EXPECT_FALSE(((*panel).*c.off)());
    EXPECT_FALSE(panel->TimerActive(c.timer));
    for (CaptionLabel* label : labels) EXPECT_FALSE(label->isHidden());
}

TEST_P(PannelloBlink, HiddenLabelStaysHiddenThroughPulisciUntilSteady) {
    const BlinkCase& c = GetParam();
    TestPanel panel;
    const auto labels = blinking(*panel);
    ((*panel).*c.on)();
    panel->Tick(c.timer);
    panel->Pulisci();
    EXPECT_FALSE(panel->TimerActive(c.timer));
    for (CaptionLabel* label : labels) {
        EXPECT_TRUE(label->isHidden());
        EXPECT_EQ(label->Caption(), "");
    }
    ((*panel).*c.off)();
    for (CaptionLabel* label : labels) EXPECT_FALSE(label->isHidden());
}

const BlinkCase kBlinks[] = {
    {"Titolo", &Pannello::TitoloLampeggio, &Pannello::TitoloFisso, PanelTimer::Titolo, "lblTitolo", "lblOmbraTitolo"},
    {"Testo", &Pannello::TestoLampeggio, &Pannello::TestoFisso, PanelTimer::Testo, "lblTesto", nullptr},
    {"FT", &Pannello::FTLampeggio, &Pannello::FTFisso, PanelTimer::FT, "lblFT", "lblRisultatoFT"},
    {"Info", &Pannello::InfoLampeggio, &Pannello::InfoFisso, PanelTimer::Info, "lblInfo", nullptr}};

INSTANTIATE_TEST_SUITE_P(Fields, PannelloBlink, testing::ValuesIn(kBlinks),
                         [](const auto& info) { return std::string(info.param.name); });

// The running timers drive their own ticks. The host keeps calling the blink
// method while it waits: a blink that restarted its timer at every call would
// never tick.
TEST(PannelloAnimation, RealTimersDriveTheirOwnTicks) {
    constexpr int kWaitMs = 5000;
    TestPanel panel;
    for (const BlinkCase& c : kBlinks) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                ((*panel).*c.on)();
                return Label(*panel, c.leader).isHidden();
            },
            kWaitMs))
            << c.name;
        ((*panel).*c.off)();
    }

    panel->SetTestoPic("[14]HT");
    panel.second = 2;  // an even second: the TestoPic blink's tick clears the strip
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            panel->HTLampeggio();
            return Strip(*panel, "picInfo").Drawing().empty();
        },
        kWaitMs));

    panel->SetScrollVerticale(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->TextTopTwips() < 0; }, kWaitMs));
}

TEST(PannelloAnimation, HalfTimePairNeverBlinks) {
    TestPanel panel;
    panel->FTLampeggio();
    for (int tick = 0; tick < 3; ++tick) {
        panel->Tick(PanelTimer::FT);
        EXPECT_FALSE(Label(*panel, "lblHT").isHidden());
        EXPECT_FALSE(Label(*panel, "lblRisultatoHT").isHidden());
    }
}

TEST(PannelloAnimation, CreationLeavesOnlyTheTestoPicBlinkRunning) {
    TestPanel panel;
    for (PanelTimer timer :
         {PanelTimer::Titolo, PanelTimer::Testo, PanelTimer::FT, PanelTimer::Info, PanelTimer::Scroll}) {
        EXPECT_FALSE(panel->TimerActive(timer));
    }
    EXPECT_TRUE(panel->TimerActive(PanelTimer::TestoPic));
    EXPECT_EQ(panel->ContatoreScroll(), 60);
    for (const char* name :
         {"lblTitolo", "lblOmbraTitolo", "lblHT", "lblRisultatoHT", "lblFT", "lblRisultatoFT", "lblInfo"}) {
        EXPECT_EQ(Label(*panel, name).Caption(), "") << name;
    }
    // Initialisation appended two line breaks to the text label before clearing it.
    EXPECT_EQ(panel->GetTesto(), "");
}

TEST(PannelloAnimation, TestoPicBlinkFollowsOddAndEvenSeconds) {
    TestPanel panel;
    const QImage blank = InfoStripImage(*panel);
    panel->Tick(PanelTimer::TestoPic);
    EXPECT_EQ(InfoStripImage(*panel), blank) << "an empty copy clears the strip";

    panel->SetTestoPic("[14]HT [15]");
    panel.second = 2;
    panel->Tick(PanelTimer::TestoPic);
    EXPECT_EQ(InfoStripImage(*panel), blank);
    panel.second = 37;
    panel->Tick(PanelTimer::TestoPic);
    const QImage drawn = InfoStripImage(*panel);
    EXPECT_GT(CountPixels(drawn, kLightYellow), 10);

    panel.second = 38;
    panel->HTFisso();
    EXPECT_FALSE(panel->TimerActive(PanelTimer::TestoPic));
    EXPECT_EQ(InfoStripImage(*panel), drawn);
    panel->HTFisso();
    EXPECT_EQ(InfoStripImage(*panel), drawn);

    panel->HTLampeggio();
    EXPECT_TRUE(panel->TimerActive(PanelTimer::TestoPic));
}

TEST(PannelloAnimation, TestoPicTickSkipsMarkupThatCannotBeDrawn) {
    TestPanel panel;
    EXPECT_THROW(panel->SetTestoPic("[14]ok[99]"), MarkupError);
    const QImage partial = InfoStripImage(*panel);
    panel.second = 3;
    EXPECT_NO_THROW(panel->Tick(PanelTimer::TestoPic));
    EXPECT_EQ(InfoStripImage(*panel), partial);
    EXPECT_TRUE(panel->TimerActive(PanelTimer::TestoPic));
}

class PannelloScroll : public testing::Test {
protected:
    void SetUp() override {
        panel->SetTesto("A");
        panel->SetScrollTesto("B");
        panel.host.notifications.clear();
    }
    void ticks(int count) {
        for (int tick = 0; tick < count; ++tick) panel->Tick(PanelTimer::Scroll);
    }

    TestPanel panel;
};

TEST_F(PannelloScroll, RollsUpRestsAndResetsToTheNextText) {
    panel->SetScrollVerticale(true);
    EXPECT_EQ(panel->GetTesto(), "A\r\n\r\nB");
    EXPECT_TRUE(panel->TimerActive(PanelTimer::Scroll));
    EXPECT_EQ(panel->TimerInterval(PanelTimer::Scroll), 16);
    EXPECT_EQ(panel.host.notifications, std::vector<std::string>{"ScrollVerticale"});

    ticks(1);
    EXPECT_EQ(panel->TextTopTwips(), -30);
    EXPECT_EQ(Label(*panel, "lblTesto").height(), 267);
    ticks(35);
    EXPECT_EQ(panel->TextTopTwips(), -1080);
    ticks(60);
    EXPECT_EQ(panel->TextTopTwips(), -1080);
    EXPECT_TRUE(panel->ScrollVerticale());
    EXPECT_EQ(panel->ContatoreScroll(), 156);

    ticks(1);
    EXPECT_EQ(panel->GetTesto(), "B");
    EXPECT_EQ(panel->TextTopTwips(), 0);
    EXPECT_FALSE(panel->ScrollVerticale());
    EXPECT_FALSE(panel->TimerActive(PanelTimer::Scroll));
    EXPECT_EQ(panel->ContatoreScroll(), 60);
    EXPECT_EQ(panel.host.notifications, (std::vector<std::string>{"ScrollVerticale", "ScrollVerticale"}));

    // The next scroll moves on its very first tick.
    panel->SetScrollVerticale(true);
    ticks(1);
    EXPECT_EQ(panel->TextTopTwips(), -30);
}

TEST_F(PannelloScroll, StopWithoutScrollStillAppendsTheNextText) {
    panel->SetScrollVerticale(false);
    EXPECT_EQ(panel->GetTesto(), "A\r\n\r\nB");
    EXPECT_FALSE(panel->TimerActive(PanelTimer::Scroll));
}

TEST_F(PannelloScroll, StoppedMidwayContinuesFromItsCount) {
    panel->SetScrollVerticale(true);
    ticks(10);
    panel->SetScrollVerticale(false);
    EXPECT_EQ(panel->TextTopTwips(), -300);
    EXPECT_EQ(panel->ContatoreScroll(), 70);
    panel->SetScrollVerticale(true);
    ticks(1);
    EXPECT_EQ(panel->TextTopTwips(), -330);
}

TEST_F(PannelloScroll, PulisciEmptiesTheTextButTheResetBringsTheNextBack) {
    panel->SetScrollVerticale(true);
    ticks(5);
    panel->Pulisci();
    EXPECT_EQ(panel->GetTesto(), "");
    ticks(1);
    EXPECT_EQ(panel->TextTopTwips(), -180);
    ticks(91);
    EXPECT_EQ(panel->GetTesto(), "B");
    EXPECT_EQ(panel->TextTopTwips(), 0);
}

}  // namespace
}  // namespace Pannello2
