#include "app/status/StaleMark.h"
#include "common/qt/ClockText.h"
#include "common/qt/TimeScale.h"
#include "display/core/Ticker.h"

#include <QLabel>
#include <QThread>

#include <gtest/gtest.h>

namespace caltrix {
namespace {

TEST(ClockText, FollowsTheLocaleWithSecondsAndNoTimeZone) {
    const QTime time(15, 7, 9);
    EXPECT_EQ(ClockText(time, QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("3:07:09 PM"));
    EXPECT_EQ(ClockText(time, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("15:07:09"));
    EXPECT_EQ(ClockText(QTime(0, 0, 0), QLocale::c()), QStringLiteral("00:00:00"));
}

QColor Colour(const QLabel& label) { return label.palette().color(QPalette::WindowText); }

class StaleMarkTest : public ::testing::Test {
protected:
    StaleMarkTest() {
        SetTimeScale(0.001);  // 180 s become 180 ms
        QPalette green = m_clock.palette();
        green.setColor(QPalette::WindowText, Qt::green);
        m_clock.setPalette(green);
        m_ticker.SetStringa(std::string(80, ' '));
    }
    ~StaleMarkTest() override { SetTimeScale(1.0); }
    void PassStaleTime() { QThread::msleep(200); }

    QLabel m_clock;
    QLabel m_shadow;
    Ticker m_ticker;
};

TEST_F(StaleMarkTest, ClockAndTickerMarkStaleResultsUntilTheNextGoodCycle) {
    StaleMark mark(180, &m_clock, &m_shadow, m_ticker);
    mark.Check();
    EXPECT_FALSE(mark.Stale());
    mark.CycleSucceeded();
    PassStaleTime();
    mark.Check();
    ASSERT_TRUE(mark.Stale());
    EXPECT_EQ(Colour(m_clock), StaleMark::kAmber);
    EXPECT_EQ(Colour(m_shadow), StaleMark::kDarkAmber);
    EXPECT_NE(m_ticker.Stringa().find("waiting for the live-score site"), std::string::npos);
    EXPECT_NE(m_ticker.Stringa().find("Results as of"), std::string::npos);

    mark.SetTicker("configured while stale");  // held back while the mark is up
    EXPECT_EQ(m_ticker.Stringa().find("configured"), std::string::npos);
    mark.CycleSucceeded();
    EXPECT_FALSE(mark.Stale());
    EXPECT_EQ(Colour(m_clock), QColor(Qt::green));
    EXPECT_EQ(m_ticker.Stringa(), "configured while stale");
    EXPECT_EQ(m_ticker.StringaStart(), 1);
}

TEST_F(StaleMarkTest, NoResultsYetAndTurnedOff) {
    StaleMark mark(180, &m_clock, &m_shadow, m_ticker);
    StaleMark off(0, &m_clock, &m_shadow, m_ticker);
    PassStaleTime();
    off.Check();
    EXPECT_FALSE(off.Stale());
    mark.Check();
    EXPECT_TRUE(mark.Stale());
    EXPECT_NE(m_ticker.Stringa().find("No results yet"), std::string::npos);
}

}  // namespace
}  // namespace caltrix
