#include "feed/service/DemoMatchDay.h"

#include "feed/model/PageWriter.h"

#include <QFile>
#include <QRegularExpression>

// The bundled files live in a static library, whose resources register only
// when asked (from the global namespace, where the resource function lives).
static void initDemoResources() { Q_INIT_RESOURCE(demo); }

namespace caltrix::demo {

DemoFeed::DemoFeed(double matchMinutesPerSecond) : m_speed(matchMinutesPerSecond) {
    initDemoResources();
    m_clock.start();
}

double DemoFeed::MinutesNow() const {
    return m_startMinute + m_speed * static_cast<double>(m_clock.elapsed()) / 1000.0;
}

std::string DemoFeed::PageNow() const {
    const double minutes = MinutesNow();
    return feed::WritePage(m_day.ModelAt(minutes), feed::SimulatedMatchDay::InstantAt(minutes));
}

std::optional<QByteArray> DemoFeed::BundledFile(const QString& name) {
    static const QRegularExpression safeName(QStringLiteral("^(config\\.txt|[A-Za-z0-9_-]+\\.htm)$"));
    QFile file(QStringLiteral(":/demo/") + name);
    if (!safeName.match(name).hasMatch() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

}  // namespace caltrix::demo
