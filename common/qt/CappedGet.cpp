#include "common/qt/CappedGet.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace caltrix {

CappedGet::CappedGet(QNetworkAccessManager& network, const QNetworkRequest& request, qint64 sizeCap,
                     std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), m_reply(network.get(request)), m_sizeCap(sizeCap), m_timeout(timeout) {
    // The body is taken as it arrives, so the reply never holds a second copy.
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &CappedGet::takeArrived);
    connect(m_reply, &QNetworkReply::readyRead, this, &CappedGet::takeArrived);
    connect(m_reply, &QNetworkReply::finished, this, [this] {
        takeArrived();
        end();
    });
    QTimer::singleShot(timeout, this, [this] {
        if (m_ended) return;
        m_timedOut = true;
        m_reply->abort();
        end();
    });
}

CappedGet::~CappedGet() {
    if (!m_reply) return;
    m_reply->disconnect(this);
    m_reply->abort();
    delete m_reply;
}

void CappedGet::takeArrived() {
    if (m_tooLarge || m_timedOut) return;
    const qint64 announced = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > m_sizeCap || m_body.size() + m_reply->bytesAvailable() > m_sizeCap) {
        m_tooLarge = true;
        m_reply->abort();
        return;
    }
    m_body.append(m_reply->readAll());
}

void CappedGet::end() {
    if (m_ended) return;
    m_ended = true;
    emit finished();
}

}  // namespace caltrix
