#include "feed/service/SourceHealth.h"

#include <gtest/gtest.h>

namespace caltrix::feed {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::sys_seconds kStart{std::chrono::seconds{1'760'000'000}};

std::chrono::milliseconds TwiceTheFaults(int faultsInARow) { return faultsInARow * 2s; }

TEST(SourceHealthTest, OutdatedOnlyFromTheSecondMissedPollOnceOldEnough) {
    SourceHealth health(QStringLiteral("test"), 600s);
    EXPECT_FALSE(health.Withheld(kStart));
    health.Good(kStart, 3, QStringLiteral("3 matches"));
    EXPECT_EQ(health.Failed(QStringLiteral("down"), kStart + 700s, TwiceTheFaults), 2s);
    EXPECT_FALSE(health.Withheld(kStart + 700s));  // one miss, however old
    EXPECT_EQ(health.Failed(QStringLiteral("down"), kStart + 710s, TwiceTheFaults), 4s);
    EXPECT_FALSE(health.Withheld(kStart + 599s));  // two misses, not yet old enough
    EXPECT_TRUE(health.Withheld(kStart + 720s));
    EXPECT_TRUE(health.Good(kStart + 730s, 3, QStringLiteral("3 matches")));  // ends the fault
    EXPECT_FALSE(health.Withheld(kStart + 2000s));
    EXPECT_FALSE(health.Good(kStart + 740s, 3, QStringLiteral("3 matches")));
    const PollFigures polls = health.Polls();
    EXPECT_EQ(polls.good, 3u);
    EXPECT_EQ(polls.failed, 2u);
    EXPECT_EQ(polls.lastGood, kStart + 740s);
}

TEST(SourceHealthTest, StatusTellsTheFaultSinceItStartedAndTheAgeOfTheLastGoodPoll) {
    SourceHealth health(QStringLiteral("test"), 600s);
    QJsonObject status = health.Status(kStart, 5);
    EXPECT_TRUE(status.value(QStringLiteral("lastGoodPoll")).isNull());
    EXPECT_TRUE(status.value(QStringLiteral("fault")).isNull());
    EXPECT_EQ(status.value(QStringLiteral("nextPollSeconds")).toInt(), 5);

    health.Good(kStart, 4, QStringLiteral("4 matches"));
    health.Failed(QStringLiteral("down"), kStart + 10s, TwiceTheFaults);
    health.Failed(QStringLiteral("down"), kStart + 20s, TwiceTheFaults);  // the same fault: still since its start
    status = health.Status(kStart + 30s, 0);
    EXPECT_EQ(status.value(QStringLiteral("fault")).toString(), QStringLiteral("down"));
    EXPECT_EQ(status.value(QStringLiteral("faultSince")).toString(), QStringLiteral("2025-10-09T08:53:30Z"));
    EXPECT_EQ(status.value(QStringLiteral("ageSeconds")).toInt(), 30);
    EXPECT_EQ(status.value(QStringLiteral("matches")).toInt(), 4);
}

}  // namespace
}  // namespace caltrix::feed
