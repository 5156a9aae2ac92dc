// Tells systemd that the program is up and alive. Under a unit with
// WatchdogSec the event loop pings the watchdog at half its period, so a
// frozen display (an event loop that no longer runs) is restarted. Outside
// systemd it does nothing.
#pragma once

#include <QObject>
#include <QTimer>

namespace caltrix {

class Watchdog : public QObject {
    Q_OBJECT

public:
    explicit Watchdog(QObject* parent = nullptr);

    // Reports readiness and starts the pings when systemd asked for them.
    void Start();
    bool IsPinging() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

}  // namespace caltrix
