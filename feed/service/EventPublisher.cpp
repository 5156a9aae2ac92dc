#include "feed/service/EventPublisher.h"

#include "feed/service/FeedLogging.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace caltrix::feed {
namespace {

constexpr std::chrono::seconds kPostTimeout{5};

}  // namespace

EventPublisher::EventPublisher(QUrl publisher, std::chrono::milliseconds retry) : m_publisher(std::move(publisher)) {
    m_retry.setSingleShot(true);
    m_retry.setInterval(retry);
    m_retry.callOnTimeout([this] { post(); });
}

void EventPublisher::Post(const ServedVersions& versions) {
    m_latest = versions;
    m_retry.stop();
    post();
}

void EventPublisher::post() {
    QNetworkRequest request(m_publisher);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader("X-EventSource-Event", QByteArray::fromStdString(std::string(kPageEventType)));
    request.setTransferTimeout(std::chrono::milliseconds(kPostTimeout).count());
    QNetworkReply* reply = m_network.post(request, QByteArray::fromStdString(EventData(*m_latest)));
    const std::int64_t version = m_latest->Latest();
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, version] { finished(reply, version); });
}

void EventPublisher::finished(QNetworkReply* reply, std::int64_t version) {
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool posted = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
    if (posted != !m_failing) {
        m_failing = !posted;
        if (m_failing)
            qCWarning(lcFeed).noquote() << QStringLiteral(
                                               "cannot publish the events to %1: %2; trying again every %3 s")
                                               .arg(m_publisher.toString(), status
                                                                                ? QStringLiteral("HTTP %1").arg(status)
                                                                                : reply->errorString())
                                               .arg(m_retry.interval() / 1000.0);
        else
            qCInfo(lcFeed).noquote() << QStringLiteral("publishing the events to %1 again").arg(m_publisher.toString());
    }
    if (!posted && m_latest && m_latest->Latest() == version) m_retry.start();
}

}  // namespace caltrix::feed
