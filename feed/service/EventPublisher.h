// Posts each new version's event to a pub/sub publisher location (nginx's
// nchan module): the event's data as the message body, its type in the
// X-EventSource-Event header, so that EventSource subscribers of the channel
// get the same event: and data: lines as from /feed/events. A failed post is
// tried again while it is the latest; failing and recovering are logged once
// each.
#pragma once

#include "feed/service/FeedVersions.h"

#include <QNetworkAccessManager>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <optional>

class QNetworkReply;

namespace caltrix::feed {

class EventPublisher {
public:
    static constexpr std::chrono::seconds kRetry{5};

    explicit EventPublisher(QUrl publisher, std::chrono::milliseconds retry = kRetry);

    void Post(const ServedVersions& versions);
    bool Failing() const { return m_failing; }

private:
    void post();
    void finished(QNetworkReply* reply, std::int64_t version);

    QUrl m_publisher;
    QNetworkAccessManager m_network;
    QTimer m_retry;
    std::optional<ServedVersions> m_latest;
    bool m_failing = false;
};

}  // namespace caltrix::feed
