#include "common/qt/TimeScale.h"

#include <algorithm>
#include <cmath>

namespace caltrix {
namespace {
double g_timeScale = 1.0;
}

double TimeScale() { return g_timeScale; }

void SetTimeScale(double factor) {
    if (factor > 0.0 && std::isfinite(factor)) g_timeScale = factor;
}

int ScaledMilliseconds(double milliseconds) {
    if (milliseconds <= 0.0) return 0;
    const double scaled = std::round(milliseconds * g_timeScale);
    return static_cast<int>(std::clamp(scaled, 1.0, 2.0e9));
}

}  // namespace caltrix
