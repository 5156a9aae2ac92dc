// When to poll next: the waits a provider asks for in its headers, the
// back-off after faults, and a daily call budget spent on the match hours.
#pragma once

#include "feed/model/MatchModel.h"

#include <QByteArray>

#include <chrono>
#include <functional>
#include <optional>

namespace caltrix::feed {

using HeaderLookup = std::function<QByteArray(const QByteArray& name)>;  // empty when absent

// The wait the provider asks for in an answer's status and headers, if any:
// Retry-After; football-data's X-RequestCounter-Reset when its minute is used
// up; API-Football's daily and per-minute remaining counts at zero.
std::optional<std::chrono::seconds> RateLimitWait(int httpStatus, const HeaderLookup& header,
                                                  std::chrono::sys_seconds now);

// The wait after `faults` faults in a row: the interval doubled per fault up
// to 10 minutes (or the interval itself when that is longer).
std::chrono::milliseconds BackOff(std::chrono::milliseconds interval, int faults);

// Until the next UTC midnight, when API-Football's daily calls start again.
std::chrono::seconds UntilDailyReset(std::chrono::sys_seconds now);

// Now, to the second.
std::chrono::sys_seconds UtcNow();

// The rest of the UTC day shared by the calls left (a few kept for
// restarts), at least a minute; 15 minutes while the count is unknown.
std::chrono::seconds BudgetInterval(std::optional<int> callsLeft, std::chrono::sys_seconds now);

// How long the matches will not change: zero while one runs or is due, else
// until the next kick-off, or the next UTC day when none is left; at most 3 h.
std::chrono::seconds QuietTime(const MatchModel& model, std::chrono::sys_seconds now);

}  // namespace caltrix::feed
