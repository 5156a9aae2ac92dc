#include "app/demo/DemoFeed.h"

#include <QFile>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QRegularExpression>

// The bundled files live in a static library, whose resources register only
// when asked (from the global namespace, where the resource function lives).
static void initDemoResources() { Q_INIT_RESOURCE(demo); }

namespace caltrix::demo {

DemoFeed::DemoFeed(double matchMinutesPerSecond)
    : m_server(std::make_unique<QHttpServer>()), m_speed(matchMinutesPerSecond) {
    initDemoResources();
    m_clock.start();
    m_server->route(QStringLiteral("/public/config.txt"), [this] {
        return QHttpServerResponse("text/plain; charset=windows-1252", configuration());
    });
    m_server->route(QStringLiteral("/public/<arg>"), [](const QString& name) {
        static const QRegularExpression safeName(QStringLiteral("^[A-Za-z0-9_-]+\\.htm$"));
        const QByteArray page = safeName.match(name).hasMatch() ? bundledFile(name) : QByteArray();
        if (page.isEmpty()) return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
        return QHttpServerResponse("text/html; charset=utf-8", page);
    });
    m_server->route(QStringLiteral("/default.dll"), [this] {
        return QHttpServerResponse("text/html; charset=utf-8", QByteArray::fromStdString(m_day.Page(MinutesNow())));
    });
}

DemoFeed::~DemoFeed() = default;

bool DemoFeed::Start() {
    m_port = m_server->listen(QHostAddress::LocalHost, 0);
    return m_port != 0;
}

QUrl DemoFeed::BaseUrl() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port));
}

double DemoFeed::MinutesNow() const {
    return m_startMinute + m_speed * static_cast<double>(m_clock.elapsed()) / 1000.0;
}

QByteArray DemoFeed::configuration() const {
    QByteArray text = bundledFile(QStringLiteral("config.txt"));
    return text.replace("%ENDPOINT%", BaseUrl().toString().toLatin1());
}

QByteArray DemoFeed::bundledFile(const QString& name) {
    QFile file(QStringLiteral(":/demo/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace caltrix::demo
