#include "display/GoalQueue.h"

#include <algorithm>
#include <utility>

namespace caltrix {

bool GoalQueue::Add(ScoreChange change, Clock::time_point now, Clock::duration hold) {
    std::erase_if(m_waiting, [&change](const ScoreChange& waiting) { return waiting.SameMatch(change); });
    const bool sameAsHeld = m_current && m_current->change.SameMatch(change);
    if (m_current && !sameAsHeld) {
        if (change.kind == ScoreChange::Kind::Goal) {
            m_waiting.push_back(std::move(change));
            return false;
        }
        m_waiting.push_front(std::move(m_current->change));
    }
    m_current = Held{std::move(change), now + hold};
    return true;
}

GoalQueue::Step GoalQueue::Advance(Clock::time_point now, Clock::duration hold) {
    if (!m_current) return Step::Idle;
    if (now < m_current->until) return Step::Holding;
    if (m_waiting.empty()) {
        m_current.reset();
        return Step::Ended;
    }
    m_current = Held{std::move(m_waiting.front()), now + hold};
    m_waiting.pop_front();
    return Step::Next;
}

void GoalQueue::Clear() {
    m_current.reset();
    m_waiting.clear();
}

}  // namespace caltrix
