#include "feed/service/PollSchedule.h"

#include <gtest/gtest.h>

#include <map>

namespace caltrix::feed {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

const sys_seconds k2200 = sys_days(2026y / December / 7) + 22h;

HeaderLookup headers(std::map<QByteArray, QByteArray> values) {
    return [values](const QByteArray& name) {
        const auto found = values.find(name);
        return found == values.end() ? QByteArray() : found->second;
    };
}

TEST(PollSchedule, RateLimitWaitFollowsEachProvidersHeaders) {
    EXPECT_EQ(RateLimitWait(200, headers({}), k2200), std::nullopt);
    EXPECT_EQ(RateLimitWait(429, headers({{"X-RequestCounter-Reset", "42"}}), k2200), 42s);
    EXPECT_EQ(
        RateLimitWait(200, headers({{"X-Requests-Available-Minute", "0"}, {"X-RequestCounter-Reset", "17"}}), k2200),
        17s);
    EXPECT_EQ(
        RateLimitWait(200, headers({{"X-Requests-Available-Minute", "3"}, {"X-RequestCounter-Reset", "17"}}), k2200),
        std::nullopt);
    EXPECT_EQ(RateLimitWait(429, headers({{"Retry-After", "5"}, {"X-RequestCounter-Reset", "42"}}), k2200), 5s);
    EXPECT_EQ(RateLimitWait(200, headers({{"x-ratelimit-requests-remaining", "0"}}), k2200),
              2h);  // to the next UTC day
    EXPECT_EQ(RateLimitWait(200, headers({{"X-RateLimit-Remaining", "0"}}), k2200), 60s);
    EXPECT_EQ(RateLimitWait(429, headers({}), k2200), 60s);
}

TEST(PollSchedule, BackOffDoublesUpToTenMinutes) {
    EXPECT_EQ(BackOff(60s, 1), 60s);
    EXPECT_EQ(BackOff(60s, 3), 240s);
    EXPECT_EQ(BackOff(60s, 30), 10min);
    EXPECT_EQ(BackOff(15min, 4), 15min);
}

TEST(PollSchedule, DailyBudgetIsSpentOnTheHoursWithMatches) {
    EXPECT_EQ(BudgetInterval(std::nullopt, k2200), 15min);
    EXPECT_EQ(BudgetInterval(27, k2200), 300s);  // 2 h for 24 calls, 3 kept back
    EXPECT_EQ(BudgetInterval(1000, k2200), 1min);

    const auto match = [](MatchState state, sys_seconds kickoff) {
        Match m;
        m.state = state;
        m.kickoff = kickoff;
        return m;
    };
    MatchModel model{{Competition{"Italy", "Serie A", {match(MatchState::Finished, k2200 - 3h)}}}};
    EXPECT_EQ(QuietTime(model, k2200), 2h);  // all over: the next day's matches
    model.competitions[0].matches.push_back(match(MatchState::NotStarted, k2200 + 40min));
    EXPECT_EQ(QuietTime(model, k2200), 40min);
    model.competitions[0].matches.push_back(match(MatchState::HalfTime, k2200 - 50min));
    EXPECT_EQ(QuietTime(model, k2200), 0s);
    EXPECT_EQ(QuietTime({}, k2200 - 12h), 3h);
}

}  // namespace
}  // namespace caltrix::feed
