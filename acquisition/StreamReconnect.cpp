#include "acquisition/StreamReconnect.h"

#include <algorithm>

namespace caltrix {

StreamReconnect::StreamReconnect(std::function<double()> random) : m_random(std::move(random)) {}

void StreamReconnect::Opened(Clock::time_point now) { m_openedAt = now; }

StreamReconnect::Clock::time_point StreamReconnect::Dropped(Clock::time_point now) {
    const bool steady = m_openedAt && now - *m_openedAt >= kLongestDelay;
    m_openedAt.reset();
    m_delay = steady || m_delay == Duration::zero() ? kFirstDelay : std::min(m_delay * 2, kLongestDelay);
    // Half to one and a half times the delay: the series on average, spread.
    const double spread = 0.5 + m_random();
    return now + std::chrono::duration_cast<Duration>(m_delay * spread);
}

StreamReconnect::Clock::time_point StreamReconnect::Refused(Clock::time_point now) {
    m_openedAt.reset();
    m_delay = Duration::zero();
    // Up to a tenth later, so that a fleet does not ask together either.
    return now + kAfterRefusal + std::chrono::duration_cast<Duration>(kAfterRefusal * (0.1 * m_random()));
}

}  // namespace caltrix
