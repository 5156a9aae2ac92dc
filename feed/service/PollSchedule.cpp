#include "feed/service/PollSchedule.h"

#include <algorithm>

namespace caltrix::feed {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

std::optional<long long> number(const QByteArray& text) {
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool settled(MatchState state) {
    switch (state) {
    case MatchState::Finished:
    case MatchState::FinishedAfterExtraTime:
    case MatchState::FinishedOnPenalties:
    case MatchState::Postponed:
    case MatchState::Cancelled:
    case MatchState::Abandoned:
    case MatchState::Awarded:
        return true;
    default:
        return false;
    }
}

}  // namespace

seconds UntilDailyReset(sys_seconds now) { return floor<days>(now) + days(1) - now; }

sys_seconds UtcNow() { return floor<seconds>(system_clock::now()); }

std::optional<seconds> RateLimitWait(int httpStatus, const HeaderLookup& header, sys_seconds now) {
    if (const auto retryAfter = number(header("Retry-After"))) return seconds(std::max(*retryAfter, 1LL));
    const bool minuteUsedUp = httpStatus == 429 || number(header("X-Requests-Available-Minute")) == 0;
    if (const auto reset = number(header("X-RequestCounter-Reset")); minuteUsedUp && reset)
        return seconds(std::max(*reset, 1LL));
    if (number(header("x-ratelimit-requests-remaining")) == 0) return UntilDailyReset(now);
    if (number(header("X-RateLimit-Remaining")) == 0 || httpStatus == 429) return 60s;
    return std::nullopt;
}

milliseconds BackOff(milliseconds interval, int faults) {
    const milliseconds ceiling = std::max<milliseconds>(interval, 10min);
    milliseconds wait = interval;
    for (int i = 1; i < faults && wait < ceiling; ++i) wait *= 2;
    return std::min(wait, ceiling);
}

seconds BudgetInterval(std::optional<int> callsLeft, sys_seconds now) {
    constexpr int kKeptForRestarts = 3;
    if (!callsLeft) return 15min;
    return std::max<seconds>(UntilDailyReset(now) / std::max(*callsLeft - kKeptForRestarts, 1), 1min);
}

seconds QuietTime(const MatchModel& model, sys_seconds now) {
    std::optional<sys_seconds> nextKickoff;
    for (const Competition& competition : model.competitions)
        for (const Match& match : competition.matches) {
            if (settled(match.state)) continue;
            if (match.state != MatchState::NotStarted || match.kickoff <= now) return 0s;
            nextKickoff = std::min(match.kickoff, nextKickoff.value_or(match.kickoff));
        }
    return std::min<seconds>(nextKickoff ? *nextKickoff - now : UntilDailyReset(now), 3h);
}

}  // namespace caltrix::feed
