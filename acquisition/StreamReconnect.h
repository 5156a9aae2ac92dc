// When a screen opens its event stream again. A dropped stream is reopened
// after about 1 s, then after a delay that doubles up to 60 s, each spread by
// random jitter so that the screens of a restarted feed server do not all
// come back in the same second; a stream that stayed up for a minute starts
// the series again. A site that refuses the stream (it is not a feed server)
// is asked again after 10 minutes at the earliest.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace caltrix {

class StreamReconnect {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = std::chrono::milliseconds;

    static constexpr Duration kFirstDelay = std::chrono::seconds(1);
    static constexpr Duration kLongestDelay = std::chrono::seconds(60);
    static constexpr Duration kAfterRefusal = std::chrono::minutes(10);

    // `random` gives numbers in [0, 1): the jitter.
    explicit StreamReconnect(std::function<double()> random);

    // The stream answered as an event stream at `now`.
    void Opened(Clock::time_point now);
    // The stream ended, or could not be opened, at `now`: when to open it again.
    Clock::time_point Dropped(Clock::time_point now);
    // The site answered that it has no event stream: when to ask again.
    Clock::time_point Refused(Clock::time_point now);

private:
    std::function<double()> m_random;
    std::optional<Clock::time_point> m_openedAt;
    Duration m_delay{0};  // the last delay before jitter; 0 before any drop
};

}  // namespace caltrix
