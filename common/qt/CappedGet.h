// One HTTP GET whose answer is capped in size and in time: the body is taken
// as it arrives, and the download is cut off as soon as its announced or
// arrived size passes the cap, or when the whole answer has not come within
// the time-out.
#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>

#include <chrono>

class QNetworkAccessManager;
class QNetworkRequest;

namespace caltrix {

class CappedGet : public QObject {
    Q_OBJECT

public:
    // Starts the request at once.
    CappedGet(QNetworkAccessManager& network, const QNetworkRequest& request, qint64 sizeCap,
              std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~CappedGet() override;  // ends the download if it still runs

    // The reply: its status, headers and error once finished.
    QNetworkReply& Reply() const { return *m_reply; }
    bool TimedOut() const { return m_timedOut; }
    bool TooLarge() const { return m_tooLarge; }
    std::chrono::milliseconds Timeout() const { return m_timeout; }
    // The body as far as it came.
    QByteArray TakeBody() { return std::move(m_body); }

signals:
    // Once, when the answer is complete, failed, cut off or timed out.
    void finished();

private:
    void takeArrived();
    void end();

    QPointer<QNetworkReply> m_reply;  // gone with its manager
    const qint64 m_sizeCap;
    const std::chrono::milliseconds m_timeout;
    QByteArray m_body;
    bool m_timedOut = false;
    bool m_tooLarge = false;
    bool m_ended = false;
};

}  // namespace caltrix
