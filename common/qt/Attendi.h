// Waiting while the rest of the program keeps running.
#pragma once

class QEventLoop;

namespace caltrix {

// Waits `seconds` (scaled by the time scale) while processing window events:
// timers, input and browser notifications are served meanwhile. Pending events
// are processed at least once, also for a zero wait. The wait sleeps in the
// event loop (no busy loop) and is measured on a monotonic clock, so a wait
// across midnight still ends on time.
void Attendi(double seconds);

// A wait of Attendi's kind that ends as soon as what it waits for is done.
// Reset() before the awaited work starts; Done() from the handler that sees
// it finish ends a running Wait, or makes the next one return at once.
class WaitUntilDone {
public:
    void Reset() { m_done = false; }
    void Done();
    // Waits at most `seconds` (scaled); true when Done() ended the wait.
    bool Wait(double seconds);

private:
    bool m_done = false;
    QEventLoop* m_loop = nullptr;
};

}  // namespace caltrix
