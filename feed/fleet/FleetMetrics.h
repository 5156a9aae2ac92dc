// caltrix-feed's Prometheus metrics (/metrics, text format 0.0.4): the
// build, the polls of its source, its HTTP answers, the reports it refused,
// every screen's latest report and the standard process figures. Screens'
// figures are read from the registry at scrape time; timestamps rather than
// ages are exported, so queries compute ages with time().
#pragma once

#include "feed/fleet/FleetRegistry.h"

#include <prometheus/counter.h>
#include <prometheus/family.h>
#include <prometheus/registry.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace caltrix::fleet {

// What the feed server tells of its source and its event streams.
struct FeedFigures {
    std::uint64_t goodPolls = 0;
    std::uint64_t failedPolls = 0;
    double lastGoodPollSeconds = 0;                 // since the epoch; 0 before the first
    std::optional<std::uint64_t> eventSubscribers;  // none while the server has no event stream
};

enum class Rejection { Name, Document, Token, Size, Capacity, Rate, Count };

class FleetMetrics {
public:
    FleetMetrics(std::string version, const FleetRegistry& registry, std::function<FeedFigures()> feed);

    // One answer of the server, by route ("/feed/screens/", not a screen's own path).
    void CountAnswer(std::string_view route, int status);
    void CountRejection(Rejection reason);

    std::string Text() const;

private:
    std::vector<prometheus::MetricFamily> feedFamilies() const;
    std::vector<prometheus::MetricFamily> screenFamilies() const;

    std::string m_version;
    const FleetRegistry& m_registry;
    std::function<FeedFigures()> m_feed;
    prometheus::Registry m_counters;
    prometheus::Family<prometheus::Counter>& m_answers;
    std::array<prometheus::Counter*, static_cast<std::size_t>(Rejection::Count)> m_rejections{};
};

}  // namespace caltrix::fleet
