#include "acquisition/qt/HttpDownloader.h"

#include "common/qt/CappedGet.h"
#include "common/qt/TimeScale.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <chrono>

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

    const std::chrono::milliseconds timeout(ScaledMilliseconds(kTimeoutSeconds * 1000.0));
    CappedGet get(m_network, request, maxBytes, timeout);
    QNetworkReply* reply = &get.Reply();
    FollowSameSchemeRedirects(reply, url);
    QEventLoop loop;
    QObject::connect(&get, &CappedGet::finished, &loop, &QEventLoop::quit);
    loop.exec();

    if (get.TooLarge())
        throw DownloadError(Describe(url, QStringLiteral("larger than the %1 bytes accepted").arg(maxBytes)));
    if (get.TimedOut())
        throw DownloadError(
            Describe(url, QStringLiteral("no complete answer within %1 s").arg(double(timeout.count()) / 1000.0)));
    const QVariant refused = reply->property("refusedRedirect");
    if (refused.isValid())
        throw DownloadError(
            Describe(url, QStringLiteral("redirect to another scheme refused: ") + refused.toUrl().toDisplayString()));
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) throw DownloadError(Describe(url, QStringLiteral("HTTP status %1").arg(status)));
    if (reply->error() != QNetworkReply::NoError) throw DownloadError(Describe(url, reply->errorString()));
    return get.TakeBody();
}

}  // namespace caltrix
