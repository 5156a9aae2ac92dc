#include "acquisition/HttpDownloader.h"

#include "common/qt/TimeScale.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace caltrix {
namespace {

constexpr int kMaxRedirects = 5;

std::string Describe(const QUrl& url, const QString& what) {
    return (url.toDisplayString() + QStringLiteral(": ") + what).toStdString();
}

// Lets the reply follow a redirect only when it keeps the scheme.
void FollowSameSchemeRedirects(QNetworkReply* reply, const QUrl& original) {
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, original](const QUrl& target) {
        if (target.scheme() == original.scheme()) {
            emit reply->redirectAllowed();
        } else {
            reply->setProperty("refusedRedirect", target);
            reply->abort();
        }
    });
}

}  // namespace

QByteArray HttpDownloader::Download(const QUrl& url, qint64 maxBytes) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    // The configuration changes on the endpoint at any time: never a cached copy.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);

    std::unique_ptr<QNetworkReply> reply(m_network.get(request));
    FollowSameSchemeRedirects(reply.get(), url);

    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    // The body is taken as it arrives, so the reply never holds a second copy;
    // a body over the cap is cut off when announced or when it gets there.
    QByteArray body;
    bool tooLarge = false;
    const auto takeArrived = [&] {
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (tooLarge || announced > maxBytes || body.size() + reply->bytesAvailable() > maxBytes) {
            tooLarge = true;
            reply->abort();
            return;
        }
        body.append(reply->readAll());
    };
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, takeArrived);
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, takeArrived);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, [&] {
        takeArrived();
        loop.quit();
    });
    timeout.start(ScaledMilliseconds(kTimeoutSeconds * 1000.0));
    loop.exec();

    if (tooLarge) throw DownloadError(Describe(url, QStringLiteral("larger than the %1 bytes accepted").arg(maxBytes)));
    if (timedOut) {
        reply->abort();
        throw DownloadError(
            Describe(url, QStringLiteral("no complete answer within %1 s").arg(timeout.interval() / 1000.0)));
    }
    const QVariant refused = reply->property("refusedRedirect");
    if (refused.isValid())
        throw DownloadError(
            Describe(url, QStringLiteral("redirect to another scheme refused: ") + refused.toUrl().toDisplayString()));
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) throw DownloadError(Describe(url, QStringLiteral("HTTP status %1").arg(status)));
    if (reply->error() != QNetworkReply::NoError) throw DownloadError(Describe(url, reply->errorString()));
    return body;
}

}  // namespace caltrix
