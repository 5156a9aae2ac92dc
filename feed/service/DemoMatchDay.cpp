#include "feed/service/DemoMatchDay.h"

#include "feed/model/PageWriter.h"

// The bundled files live in a static library, whose resources register only
// when asked (from the global namespace, where the resource function lives).
static void initDemoResources() { Q_INIT_RESOURCE(demo); }

namespace caltrix::feed {

QString DemoMatchDay::BundledFolder() {
    initDemoResources();
    return QStringLiteral(":/demo");
}

DemoMatchDay::DemoMatchDay(double matchMinutesPerSecond) : m_speed(matchMinutesPerSecond) { m_clock.start(); }

double DemoMatchDay::MinutesNow() const {
    return m_startMinute + m_speed * static_cast<double>(m_clock.elapsed()) / 1000.0;
}

std::optional<std::string> DemoMatchDay::PageNow() {
    const double minutes = MinutesNow();
    m_shown = m_day.ModelAt(minutes);
    return WritePage(*m_shown, SimulatedMatchDay::InstantAt(minutes));
}

QJsonObject DemoMatchDay::Status(std::chrono::sys_seconds) const {
    return {{QStringLiteral("source"), QStringLiteral("demo")}};
}

QString DemoMatchDay::Description() const { return QStringLiteral("the demo match day"); }

QString DemoMatchDay::Origin() const { return QStringLiteral("the demo match day"); }

}  // namespace caltrix::feed
