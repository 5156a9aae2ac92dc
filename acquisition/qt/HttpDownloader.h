// The update cycle's HTTP download: a URL's body as bytes, waited for in a
// local event loop so the rest of the program keeps running.
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QUrl>

#include <stdexcept>

namespace caltrix {

// A download that did not deliver a body: network error, HTTP status 4xx or
// 5xx, a refused redirect, a body over the cap or the time-out. The message
// says which.
class DownloadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class HttpDownloader {
public:
    // Design time-out of one download; scaled by the time scale.
    static constexpr double kTimeoutSeconds = 20.0;

    // Returns the body of `url`; throws DownloadError. A body of more than
    // `maxBytes` is aborted as soon as it is announced or has arrived that
    // far. Redirects are followed only when they keep the scheme (no http ->
    // https or file: and back). Window events are processed while the
    // download runs.
    QByteArray Download(const QUrl& url, qint64 maxBytes);

private:
    QNetworkAccessManager m_network;
};

}  // namespace caltrix
