// The score changes one slot holds on screen: one at a time, each for the
// hold time, the others waiting in the order they came.
#pragma once

#include <chrono>
#include <deque>
#include <optional>

#include "display/ScoreChange.h"

namespace caltrix {

class GoalQueue {
public:
    using Clock = std::chrono::steady_clock;

    struct Held {
        ScoreChange change;
        Clock::time_point until;
    };

    // Adds a change at `now`. It replaces the waiting change of its match, and
    // the held one, so no score older than the latest is ever shown. A goal of
    // another match waits its turn; a goal taken back is held at once and puts
    // the held goal of another match back at the head of the queue. Returns
    // true when the change is held now and must be shown at once.
    bool Add(ScoreChange change, Clock::time_point now, Clock::duration hold);

    // What the end of a hold did.
    enum class Step { Holding, Next, Ended, Idle };
    // At `now`: ends an expired hold and holds the next waiting change (Next,
    // to be shown) or nothing (Ended).
    Step Advance(Clock::time_point now, Clock::duration hold);

    const std::optional<Held>& Current() const { return m_current; }
    std::size_t Waiting() const { return m_waiting.size(); }
    void Clear();

private:
    std::optional<Held> m_current;
    std::deque<ScoreChange> m_waiting;
};

}  // namespace caltrix
