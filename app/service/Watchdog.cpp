#include "app/service/Watchdog.h"

#include "app/logging/AppLogging.h"

#include <systemd/sd-daemon.h>

#include <algorithm>

namespace caltrix {

Watchdog::Watchdog(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, [] { sd_notify(0, "WATCHDOG=1"); });
}

void Watchdog::Start() {
    sd_notify(0, "READY=1");
    uint64_t periodUs = 0;
    if (sd_watchdog_enabled(0, &periodUs) <= 0 || periodUs == 0) return;
    const auto intervalMs = static_cast<int>(std::max<uint64_t>(periodUs / 2000, 1));
    m_timer.start(intervalMs);
    qCInfo(lcShell) << "systemd watchdog: pinging every" << intervalMs << "ms";
}

}  // namespace caltrix
