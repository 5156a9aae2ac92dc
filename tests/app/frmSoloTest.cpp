// The slot display's timers and the single-panel window that mirrors a slot.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

#include "tests/display/TestBench.h"
#include "app/solo/frmSolo.h"
#include "display/SlotDisplayTimers.h"

namespace caltrix::test {
namespace {

class SchermoSoloTest : public ::testing::Test {
protected:
    SchermoSoloTest() {
        std::array<Pannello2::_Pannello*, kSlotCount> panels{};
        for (int k = 1; k <= kSlotCount; ++k) {
            m_pannelli[k - 1] = std::make_unique<FakePannello>(log, "p" + std::to_string(k));
            panels[k - 1] = m_pannelli[k - 1].get();
        }
        schermo = std::make_unique<SlotDisplayTimers>(folder.Path(), panels, [](int) { return true; });
        solo = std::make_unique<frmSolo>([this](QWidget*) { return &pannelloSolo; });
        schermo->AttachSolo(&solo->Flash());
    }

    FakePannello& Pannello(int slot) { return *m_pannelli[slot - 1]; }

    Log log;
    Cartella folder;
    FakePannello pannelloSolo{log, "solo"};
    std::unique_ptr<SlotDisplayTimers> schermo;
    std::unique_ptr<frmSolo> solo;

private:
    std::array<std::unique_ptr<FakePannello>, kSlotCount> m_pannelli;
};

TEST_F(SchermoSoloTest, RotationTimersRunAndFlashTimersWaitForARunningMatch) {
    for (int k = 1; k <= kSlotCount; ++k) {
        EXPECT_TRUE(schermo->SlotTimer(k).isActive()) << k;
        EXPECT_EQ(schermo->SlotTimer(k).interval(), k == 1 ? 3000 : 4000) << k;
        EXPECT_FALSE(schermo->TimerFlash(k).IsActive()) << k;
        EXPECT_EQ(schermo->TimerFlash(k).Interval(), 500) << k;
    }
}

TEST_F(SchermoSoloTest, LoadedLinesReachTheSlotPanelAndStartItsFlash) {
    folder.Scrivi("lmVideo1.txt", "<italy-serie a> \r\n45\" juventus <1-0> milan \r\n");
    schermo->CaricaProssimoVideo();
    schermo->TickSlot(1);
    schermo->TickSlot(1);
    EXPECT_EQ(Pannello(1).Titolo(), "ITALY-SERIE A");
    EXPECT_EQ(Pannello(1).TestoPic(), "[14]45\" [15]1-0 [12]");
    EXPECT_TRUE(schermo->TimerFlash(1).IsActive());
    schermo->TickFlash(1);
    EXPECT_EQ(Pannello(1).TestoPic(), "");
}

TEST_F(SchermoSoloTest, SinglePanelWindowStartsHiddenInItsCornerWithItsFlashRunning) {
    EXPECT_FALSE(solo->isVisible());
    EXPECT_EQ(solo->windowTitle(), "Lumetra");
    EXPECT_EQ(solo->size(), QSize(334, 97));
    EXPECT_TRUE(solo->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(solo->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(solo->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    // 100 and 500 twips, each to the nearest pixel.
    EXPECT_EQ(solo->pos(), QPoint(7, screenHeight - 33 - solo->frameGeometry().height()));
    EXPECT_TRUE(solo->TimerFlash().IsActive());
    EXPECT_EQ(solo->PoggiaFlash(), "");
}

TEST_F(SchermoSoloTest, SinglePanelMirrorsSlotPanSelWithItsOwnFlash) {
    folder.Scrivi("lmVideo1.txt", "45\" juventus <1-0> milan \r\n");
    schermo->CaricaProssimoVideo();
    schermo->SetPanSel(1);
    schermo->TickSlot(1);
    EXPECT_EQ(pannelloSolo.GetTesto(), "\r\nJUVENTUS-MILAN\r\n");
    EXPECT_EQ(solo->PoggiaFlash(), "[14]45\" [15]1-0 [12]");
    ASSERT_TRUE(solo->TimerFlash().IsActive());

    std::vector<std::string> strip;
    for (int i = 0; i < 4; ++i) {
        solo->TickFlash();
        strip.push_back(pannelloSolo.TestoPic());
    }
    EXPECT_EQ(strip, (std::vector<std::string>{"", solo->PoggiaFlash(), "", solo->PoggiaFlash()}));

    schermo->TickSlot(1);  // the empty line after the last one stops both flashes
    EXPECT_FALSE(solo->TimerFlash().IsActive());
    EXPECT_FALSE(schermo->TimerFlash(1).IsActive());
}

std::vector<QString> g_avvisi;

void RaccogliAvvisi(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) g_avvisi.push_back(text);
}

TEST_F(SchermoSoloTest, UndrawableScoreMarkupIsLoggedOnceAndFreezesNeitherPanel) {
    folder.Scrivi("lmVideo1.txt", "ft a <[-1> b \r\n70\" x <[99> y \r\n45\" c <2-0> d \r\n");
    schermo->CaricaProssimoVideo();
    schermo->SetPanSel(1);
    g_avvisi.clear();
    const QtMessageHandler previous = qInstallMessageHandler(RaccogliAvvisi);
    for (int giro = 0; giro < 2; ++giro) {
        for (int line = 0; line < 4; ++line) schermo->TickSlot(1);  // two bad lines, a good one, the empty one
    }
    qInstallMessageHandler(previous);

    ASSERT_EQ(g_avvisi.size(), 2u);
    EXPECT_TRUE(g_avvisi[0].contains("score markup cannot be drawn")) << g_avvisi[0].toStdString();
    for (FakePannello* panel : {&Pannello(1), &pannelloSolo}) {
        EXPECT_EQ(panel->GetTesto(), "\r\nC-D\r\n");
        EXPECT_EQ(panel->TestoPic(), "[14]45\" [15]2-0 [12]");
    }
}

TEST_F(SchermoSoloTest, AClickOnThePanelHidesTheWindowAndAsksForTheMainWindow) {
    QSignalSpy back(solo.get(), &frmSolo::TornaAlPrincipale);
    solo->show();
    pannelloSolo.RaiseClick();
    EXPECT_FALSE(solo->isVisible());
    EXPECT_EQ(back.count(), 1);
}

}  // namespace
}  // namespace caltrix::test
