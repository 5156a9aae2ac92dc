// One factor that scales every timer interval and every wait of the program,
// so tests and demos can run the day faster (0.01 turns 15 s into 150 ms).
#pragma once

namespace caltrix {

double TimeScale();
void SetTimeScale(double factor);  // factors <= 0 are ignored

// A design interval in milliseconds, scaled and rounded; never below 1 ms
// for a positive interval.
int ScaledMilliseconds(double milliseconds);

}  // namespace caltrix
