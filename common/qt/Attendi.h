// Waiting while the rest of the program keeps running.
#pragma once

namespace caltrix {

// Waits `seconds` (scaled by the time scale) while processing window events:
// timers, input and browser notifications are served meanwhile. Pending events
// are processed at least once, also for a zero wait. The wait sleeps in the
// event loop (no busy loop) and is measured on a monotonic clock, so a wait
// across midnight still ends on time.
void Attendi(double seconds);

}  // namespace caltrix
