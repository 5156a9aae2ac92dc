#include "display/qt/QtFlashTimer.h"

#include <utility>

#include "common/qt/TimeScale.h"

namespace caltrix {

QtFlashTimer::QtFlashTimer(std::function<void()> onTick) {
    m_timer.setInterval(ScaledMilliseconds(kIntervalMs));
    QObject::connect(&m_timer, &QTimer::timeout, [onTick = std::move(onTick)] { onTick(); });
}

}  // namespace caltrix
