#include "feed/fleet/FleetMetrics.h"

#include "feed/fleet/ProcessFigures.h"

#include <prometheus/text_serializer.h>

#include <sstream>

namespace caltrix::fleet {
namespace {

using prometheus::ClientMetric;
using prometheus::MetricFamily;
using prometheus::MetricType;

constexpr std::array<std::string_view, static_cast<std::size_t>(Rejection::Count)> kRejectionNames{
    "name", "document", "token", "size", "capacity", "rate"};

ClientMetric sample(double value, std::vector<ClientMetric::Label> labels = {}) {
    ClientMetric metric;
    metric.label = std::move(labels);
    metric.gauge.value = value;
    metric.counter.value = value;
    return metric;
}

MetricFamily family(std::string name, std::string help, MetricType type, std::vector<ClientMetric> samples = {}) {
    return {std::move(name), std::move(help), type, std::move(samples)};
}

double secondsOf(TimePoint time) { return std::chrono::duration<double>(time.time_since_epoch()).count(); }

}  // namespace

FleetMetrics::FleetMetrics(std::string version, const FleetRegistry& registry, std::function<FeedFigures()> feed)
    : m_version(std::move(version)),
      m_registry(registry),
      m_feed(std::move(feed)),
      m_answers(prometheus::BuildCounter()
                    .Name("caltrix_http_requests_total")
                    .Help("HTTP requests answered, by route and status code.")
                    .Register(m_counters)) {
    auto& rejections = prometheus::BuildCounter()
                           .Name("caltrix_screen_reports_rejected_total")
                           .Help("Screen reports and pictures refused, by reason.")
                           .Register(m_counters);
    for (std::size_t i = 0; i < kRejectionNames.size(); ++i)
        m_rejections[i] = &rejections.Add({{"reason", std::string(kRejectionNames[i])}});
}

void FleetMetrics::CountAnswer(std::string_view route, int status) {
    m_answers
        .Add({{"path", route.empty() ? std::string("other") : std::string(route)}, {"code", std::to_string(status)}})
        .Increment();
}

void FleetMetrics::CountRejection(Rejection reason) { m_rejections[static_cast<std::size_t>(reason)]->Increment(); }

std::vector<MetricFamily> FleetMetrics::feedFamilies() const {
    const FeedFigures feed = m_feed ? m_feed() : FeedFigures{};
    std::vector<MetricFamily> families{
        family("caltrix_build_info", "The feed server's version; always 1.", MetricType::Gauge,
               {sample(1, {{"version", m_version}})}),
        family("caltrix_feed_polls_total", "Polls of the match data source, by outcome.", MetricType::Counter,
               {sample(static_cast<double>(feed.goodPolls), {{"outcome", "good"}}),
                sample(static_cast<double>(feed.failedPolls), {{"outcome", "failed"}})}),
        family("caltrix_feed_last_good_poll_timestamp_seconds",
               "When the source last answered well, in seconds since the epoch; 0 before the first good poll.",
               MetricType::Gauge, {sample(feed.lastGoodPollSeconds)}),
        family("caltrix_fleet_screens", "Screens that have reported.", MetricType::Gauge,
               {sample(static_cast<double>(m_registry.Count()))}),
    };
    if (feed.eventSubscribers)
        families.push_back(family("caltrix_feed_event_subscribers", "Event streams open now.", MetricType::Gauge,
                                  {sample(static_cast<double>(*feed.eventSubscribers))}));
    return families;
}

std::vector<MetricFamily> FleetMetrics::screenFamilies() const {
    auto lastReport = family("caltrix_screen_last_report_timestamp_seconds",
                             "When the screen's latest report came, in seconds since the epoch.", MetricType::Gauge);
    auto lastGood =
        family("caltrix_screen_last_good_cycle_timestamp_seconds",
               "When the screen's last good update cycle ended, in seconds since the epoch.", MetricType::Gauge);
    auto stale = family("caltrix_screen_stale", "1 while the screen says its results are stale.", MetricType::Gauge);
    auto restarts = family("caltrix_screen_renderer_restarts_total",
                           "Browser renderer processes the screen restarted since it started.", MetricType::Counter);
    auto memory = family("caltrix_screen_resident_memory_bytes", "The screen program's resident memory in bytes.",
                         MetricType::Gauge);
    auto cycles = family("caltrix_screen_cycles_total", "The screen's update cycles since it started, by outcome.",
                         MetricType::Counter);
    for (const ScreenView& screen : m_registry.Screens()) {
        const StatusReport& report = *screen.report;
        const std::vector<ClientMetric::Label> labels{{"screen", screen.name}};
        lastReport.metric.push_back(sample(secondsOf(screen.reportTime), labels));
        if (report.lastGoodCycleSeconds) lastGood.metric.push_back(sample(*report.lastGoodCycleSeconds, labels));
        stale.metric.push_back(sample(report.stale ? 1 : 0, labels));
        restarts.metric.push_back(sample(static_cast<double>(report.rendererRestarts), labels));
        memory.metric.push_back(sample(static_cast<double>(report.residentMemoryBytes), labels));
        cycles.metric.push_back(
            sample(static_cast<double>(report.goodCycles), {{"screen", screen.name}, {"outcome", "ok"}}));
        cycles.metric.push_back(
            sample(static_cast<double>(report.failedCycles), {{"screen", screen.name}, {"outcome", "failed"}}));
    }
    return {lastReport, lastGood, stale, restarts, memory, cycles};
}

std::string FleetMetrics::Text() const {
    std::vector<MetricFamily> families = feedFamilies();
    for (auto& counters : m_counters.Collect()) families.push_back(std::move(counters));
    for (auto& screens : screenFamilies()) families.push_back(std::move(screens));
    for (auto& process : ProcessFamilies()) families.push_back(std::move(process));
    std::ostringstream text;
    prometheus::TextSerializer().Serialize(text, families);
    return text.str();
}

}  // namespace caltrix::fleet
