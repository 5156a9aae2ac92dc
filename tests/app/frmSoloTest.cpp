// The slot display's timers and the single-panel window that mirrors a slot.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

#include "tests/display/TestBench.h"
#include "app/solo/frmSolo.h"
#include "display/qt/SlotDisplayTimers.h"

namespace caltrix::test {
namespace {

class SoloWindowTest : public ::testing::Test {
protected:
    SoloWindowTest() {
        std::array<Pannello2::_Pannello*, kSlotCount> panels{};
        for (int k = 1; k <= kSlotCount; ++k) {
            m_panels[k - 1] = std::make_unique<FakePannello>(log, "p" + std::to_string(k));
            panels[k - 1] = m_panels[k - 1].get();
        }
        display = std::make_unique<SlotDisplayTimers>(folder.path(), panels, [](int) { return true; });
        solo = std::make_unique<frmSolo>([this](QWidget*) { return &soloPanel; });
        display->AttachSolo(&solo->Flash());
    }

    FakePannello& Pannello(int slot) { return *m_panels[slot - 1]; }

    Log log;
    testing::TempFolder folder;
    FakePannello soloPanel{log, "solo"};
    std::unique_ptr<SlotDisplayTimers> display;
    std::unique_ptr<frmSolo> solo;

private:
    std::array<std::unique_ptr<FakePannello>, kSlotCount> m_panels;
};

TEST_F(SoloWindowTest, RotationTimersRunAndFlashTimersWaitForARunningMatch) {
    for (int k = 1; k <= kSlotCount; ++k) {
        EXPECT_TRUE(display->SlotTimer(k).isActive()) << k;
        EXPECT_EQ(display->SlotTimer(k).interval(), k == 1 ? 3000 : 4000) << k;
        EXPECT_FALSE(display->TimerFlash(k).IsActive()) << k;
        EXPECT_EQ(display->TimerFlash(k).Interval(), 500) << k;
    }
}

TEST_F(SoloWindowTest, LoadedLinesReachTheSlotPanelAndStartItsFlash) {
    WriteWholeFile(folder / "lmVideo1.txt", "<italy-serie a> \r\n45\" juventus <1-0> milan \r\n");
    display->CaricaProssimoVideo();
    display->TickSlot(1);
    display->TickSlot(1);
    EXPECT_EQ(Pannello(1).Titolo(), "ITALY-SERIE A");
    EXPECT_EQ(Pannello(1).TestoPic(), "[14]45\" [15]1-0 [12]");
    EXPECT_TRUE(display->TimerFlash(1).IsActive());
    display->TickFlash(1);
    EXPECT_EQ(Pannello(1).TestoPic(), "");
}

TEST_F(SoloWindowTest, SinglePanelWindowStartsHiddenInItsCornerWithItsFlashRunning) {
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

TEST_F(SoloWindowTest, SinglePanelMirrorsSlotPanSelWithItsOwnFlash) {
    WriteWholeFile(folder / "lmVideo1.txt", "45\" juventus <1-0> milan \r\n");
    display->CaricaProssimoVideo();
    display->SetPanSel(1);
    display->TickSlot(1);
    EXPECT_EQ(soloPanel.GetTesto(), "\r\nJUVENTUS-MILAN\r\n");
    EXPECT_EQ(solo->PoggiaFlash(), "[14]45\" [15]1-0 [12]");
    ASSERT_TRUE(solo->TimerFlash().IsActive());

    std::vector<std::string> strip;
    for (int i = 0; i < 4; ++i) {
        solo->TickFlash();
        strip.push_back(soloPanel.TestoPic());
    }
    EXPECT_EQ(strip, (std::vector<std::string>{"", solo->PoggiaFlash(), "", solo->PoggiaFlash()}));

    display->TickSlot(1);  // the empty line after the last one stops both flashes
    EXPECT_FALSE(solo->TimerFlash().IsActive());
    EXPECT_FALSE(display->TimerFlash(1).IsActive());
}

std::vector<QString> g_warnings;

void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) g_warnings.push_back(text);
}

TEST_F(SoloWindowTest, UndrawableScoreMarkupIsLoggedOnceAndFreezesNeitherPanel) {
    WriteWholeFile(folder / "lmVideo1.txt", "ft a <[-1> b \r\n70\" x <[99> y \r\n45\" c <2-0> d \r\n");
    display->CaricaProssimoVideo();
    display->SetPanSel(1);
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarnings);
    for (int round = 0; round < 2; ++round) {
        for (int line = 0; line < 4; ++line) display->TickSlot(1);  // two bad lines, a good one, the empty one
    }
    qInstallMessageHandler(previous);

    ASSERT_EQ(g_warnings.size(), 2u);
    EXPECT_TRUE(g_warnings[0].contains("score markup cannot be drawn")) << g_warnings[0].toStdString();
    for (FakePannello* panel : {&Pannello(1), &soloPanel}) {
        EXPECT_EQ(panel->GetTesto(), "\r\nC-D\r\n");
        EXPECT_EQ(panel->TestoPic(), "[14]45\" [15]2-0 [12]");
    }
}

TEST_F(SoloWindowTest, AClickOnThePanelHidesTheWindowAndAsksForTheMainWindow) {
    QSignalSpy back(solo.get(), &frmSolo::ReturnToMainWindow);
    solo->show();
    soloPanel.RaiseClick();
    EXPECT_FALSE(solo->isVisible());
    EXPECT_EQ(back.count(), 1);
}

}  // namespace
}  // namespace caltrix::test
