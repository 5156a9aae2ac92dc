#include "app/status/StaleMark.h"
#include "common/qt/ClockText.h"
#include "display/Ticker.h"

#include <QLabel>

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
        QPalette green = m_clock.palette();
        green.setColor(QPalette::WindowText, Qt::green);
        m_clock.setPalette(green);
        m_ticker.SetStringa(std::string(80, ' '));
    }
    void PassStaleTime() { m_now += std::chrono::seconds(180); }
    StaleMark Mark(double staleAfterSeconds) {
        return StaleMark(staleAfterSeconds, &m_clock, &m_shadow, m_ticker, [this] { return m_now; });
    }

    QLabel m_clock;
    QLabel m_shadow;
    Ticker m_ticker;
    StaleMark::Clock::time_point m_now{};
};

TEST_F(StaleMarkTest, ClockAndTickerMarkStaleResultsUntilTheNextGoodCycle) {
    StaleMark mark = Mark(180);
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
    StaleMark mark = Mark(180);
    StaleMark off = Mark(0);
    PassStaleTime();
    off.Check();
    EXPECT_FALSE(off.Stale());
    mark.Check();
    EXPECT_TRUE(mark.Stale());
    EXPECT_NE(m_ticker.Stringa().find("No results yet"), std::string::npos);
}

}  // namespace
}  // namespace caltrix
