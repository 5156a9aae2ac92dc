#include "feed/service/FeedServer.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonDocument>
#include <QMimeDatabase>

namespace caltrix::feed {
namespace {

using Status = QHttpServerResponse::StatusCode;

QByteArray contentTypeOf(const QString& name) {
    if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) return "text/plain; charset=windows-1252";
    return QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().toLatin1();
}

// The configuration may name this server in its addresses as %ENDPOINT%:
// the address the display asked, so it holds for every display of a fleet.
QByteArray withEndpoint(QByteArray text, const QHttpServerRequest& request) {
    QUrl endpoint = request.url();
    endpoint.setPath({});
    endpoint.setQuery(QString());
    return text.replace("%ENDPOINT%", endpoint.toString().toLatin1());
}

}  // namespace

FeedServer::FeedServer(FeedRoutes routes) : m_routes(std::move(routes)), m_server(std::make_unique<QHttpServer>()) {
    m_server->route(QStringLiteral("/default.dll"), [this] {
        const std::optional<std::string> page = m_routes.page ? m_routes.page() : std::nullopt;
        if (!page) return QHttpServerResponse("text/plain", "no current results\n", Status::ServiceUnavailable);
        QHttpServerResponse response("text/html; charset=utf-8", QByteArray::fromStdString(*page));
        response.setHeader("Cache-Control", "no-store");
        return response;
    });
    m_server->route(QStringLiteral("/public/<arg>"), [this](const QString& name, const QHttpServerRequest& request) {
        const std::optional<QByteArray> file = m_routes.publicFile ? m_routes.publicFile(name) : std::nullopt;
        if (!file) return QHttpServerResponse(Status::NotFound);
        const bool isConfig = name == QLatin1String("config.txt");
        return QHttpServerResponse(contentTypeOf(name), isConfig ? withEndpoint(*file, request) : *file);
    });
    m_server->route(QStringLiteral("/feed/status"), [this] {
        return QHttpServerResponse("application/json", QJsonDocument(m_routes.status()).toJson());
    });
}

FeedServer::~FeedServer() = default;

bool FeedServer::Listen(const QHostAddress& address, quint16 port) {
    m_address = address;
    m_port = m_server->listen(address, port);
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
