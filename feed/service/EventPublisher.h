#pragma once
#include "feed/service/FeedVersions.h"
#include <QUrl>
namespace caltrix::feed {
class EventPublisher {
public:
    explicit EventPublisher(QUrl publisher) : m_publisher(std::move(publisher)) {}
    void Post(const ServedVersions&) {}

private:
    QUrl m_publisher;
};
}  // namespace caltrix::feed
