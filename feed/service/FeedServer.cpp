#include "feed/service/FeedServer.h"

#include "common/WebAddresses.h"

#include <QMimeDatabase>

namespace caltrix::feed {
namespace {

std::string contentTypeOf(const QString& name) {
    if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) return "text/plain; charset=windows-1252";
    return QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().toStdString();
}

// The configuration may name this server in its addresses as %ENDPOINT%:
// the address the display asked, so it holds for every display of a fleet.
std::string withEndpoint(QByteArray text, const std::string& origin) {
    return text.replace("%ENDPOINT%", QByteArray::fromStdString(origin)).toStdString();
}

HttpAnswer notFound() { return TextAnswer(404, "not found\n"); }

std::string versionText(std::int64_t version) { return std::to_string(version); }

}  // namespace

class FeedServer::EventStream : public HttpStream {
public:
    EventStream(const FeedServer& server, std::optional<std::int64_t> lastEventId)
        : m_server(server), m_cursor(lastEventId) {}
    void Next(std::string& out, bool beat) override { m_cursor.Next(m_server.current()->versions, beat, out); }

private:
    const FeedServer& m_server;
    EventCursor m_cursor;
};

FeedServer::FeedServer(PublicFiles publicFiles, HttpServerLimits limits)
    : m_publicFiles(std::move(publicFiles)), m_server(limits) {
    m_book.Offer(std::nullopt, std::nullopt, std::chrono::system_clock::now());
    m_served.store(std::make_shared<const Served>(Served{{}, m_book.Versions()}));
    addRoutes();
}

FeedServer::~FeedServer() = default;

void FeedServer::addRoutes() {
    m_server.AddRoute({std::string(kScorePagePath), {"GET", "HEAD"}, 0, [this](const auto& r) { return page(r); }});
    m_server.AddRoute(
        {std::string(kPublicFolder), {"GET", "HEAD"}, 0, [this](const auto& r) { return publicFile(r); }});
    m_server.AddRoute({std::string(kFeedStatusPath), {"GET", "HEAD"}, 0, [this](const HttpRequest&) {
                           return MakeAnswer(200, "application/json", current()->now.status);
                       }});
    m_server.AddRoute({std::string(kFeedEventsPath), {"GET"}, 0, [this](const auto& r) { return events(r); }});
}

// Version N or a newer one; a version not yet made is not found, so that a
// cache never keeps an older page under N's address.
HttpAnswer FeedServer::page(const HttpRequest& request) const {
    const std::shared_ptr<const Served> served = current();
    const std::string latest = versionText(served->versions.Latest());
    if (const std::string* asked = request.Argument(kPageVersionArgument)) {
        const std::optional<std::int64_t> version = VersionNamed(*asked);
        if (!version) return TextAnswer(400, "v must be a version number\n");
        if (*version > served->versions.Latest())
            return TextAnswer(404, "version " + *asked + " is not served yet; the latest is " + latest + "\n",
                              {{std::string(kVersionHeader), latest}, {"Cache-Control", "no-store"}});
    }
    if (!served->now.page) return TextAnswer(503, "no current results\n", {{std::string(kVersionHeader), latest}});
    return MakeAnswer(200, "text/html; charset=utf-8", *served->now.page,
                      {{"Cache-Control", "no-store"}, {std::string(kVersionHeader), latest}});
}

HttpAnswer FeedServer::publicFile(const HttpRequest& request) const {
    const QString name = QString::fromStdString(request.path.substr(kPublicFolder.size()));
    const bool isConfig = name == QLatin1String("config.txt");
    std::optional<QByteArray> file = m_publicFiles ? m_publicFiles(name) : std::nullopt;
    if (!file && isConfig) {
        if (const auto& generated = current()->now.configuration) file = QByteArray::fromStdString(*generated);
    }
    if (!file) return notFound();
    return MakeAnswer(200, contentTypeOf(name), isConfig ? withEndpoint(*file, request.origin) : file->toStdString());
}

HttpAnswer FeedServer::events(const HttpRequest& request) const {
    const std::string* lastEventId = request.Header("last-event-id");
    HttpAnswer answer =
        MakeAnswer(200, "text/event-stream", {}, {{"Cache-Control", "no-store"}, {"X-Accel-Buffering", "no"}});
    answer.stream = std::make_shared<EventStream>(*this, lastEventId ? VersionNamed(*lastEventId) : std::nullopt);
    return answer;
}

bool FeedServer::Publish(ServedNow served, std::chrono::system_clock::time_point now) {
    const bool changed = m_book.Offer(served.page, served.configuration, now);
    m_served.store(std::make_shared<const Served>(Served{std::move(served), m_book.Versions()}));
    if (changed) m_server.WakeStreams();
    return changed;
}

bool FeedServer::Listen(const QHostAddress& address, quint16 port) {
    m_address = address;
    const bool every = address == QHostAddress::Any || address == QHostAddress::AnyIPv6;
    m_port = m_server.Listen(every ? std::string() : address.toString().toStdString(), port);
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
