#include "feed/service/FeedServer.h"

#include <QJsonDocument>
#include <QMimeDatabase>

namespace caltrix::feed {
namespace {

QByteArray contentTypeOf(const QString& name) {
    if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) return "text/plain; charset=windows-1252";
    return QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().toLatin1();
}

// The configuration may name this server in its addresses as %ENDPOINT%:
// the address the display asked, so it holds for every display of a fleet.
QByteArray withEndpoint(QByteArray text, QUrl endpoint) {
    endpoint.setPath({});
    endpoint.setQuery(QString());
    return text.replace("%ENDPOINT%", endpoint.toString().toLatin1());
}

const HttpAnswer kNotFound{404, "text/plain", "not found\n", {}};

}  // namespace

FeedServer::FeedServer(FeedRoutes routes)
    : m_routes(std::move(routes)), m_server([this](const HttpRequest& request) { return answer(request); }) {}

FeedServer::~FeedServer() = default;

HttpAnswer FeedServer::answer(const HttpRequest& request) const {
    const QString path = request.url.path();
    if (path == QLatin1String("/default.dll")) {
        const std::optional<std::string> page = m_routes.page ? m_routes.page() : std::nullopt;
        if (!page) return {503, "text/plain", "no current results\n", {}};
        return {200, "text/html; charset=utf-8", QByteArray::fromStdString(*page), {{"Cache-Control", "no-store"}}};
    }
    if (path.startsWith(QLatin1String("/public/"))) {
        const QString name = path.mid(8);
        const std::optional<QByteArray> file = m_routes.publicFile ? m_routes.publicFile(name) : std::nullopt;
        if (!file) return kNotFound;
        const bool isConfig = name == QLatin1String("config.txt");
        return {200, contentTypeOf(name), isConfig ? withEndpoint(*file, request.url) : *file, {}};
    }
    if (path == QLatin1String("/feed/status"))
        return {200, "application/json", QJsonDocument(m_routes.status()).toJson(), {}};
    return kNotFound;
}

bool FeedServer::Listen(const QHostAddress& address, quint16 port) {
    m_address = address;
    m_port = m_server.Listen(address, port);
    return m_port != 0;
}

QUrl FeedServer::BaseUrl() const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(m_address.toString());
    url.setPort(m_port);
    return url;
}

}  // namespace caltrix::feed
