// The fleet on caltrix-feed: screens report to it (PUT /feed/screens/NAME,
// PUT /feed/screens/NAME/picture), and the operator sees them on a page
// (/screens), as JSON (/feed/screens/) and as Prometheus metrics (/metrics).
// Reports need the fleet token; the operator's routes need the operator
// token; without a token file each answers on loopback only. Every route
// runs on the server's threads.
#pragma once

#include "feed/fleet/EmbeddedText.h"
#include "feed/fleet/FleetMetrics.h"
#include "feed/fleet/FleetRegistry.h"
#include "feed/fleet/StateFolder.h"
#include "feed/fleet/StatusReport.h"
#include "feed/fleet/Tokens.h"
#include "feed/service/HttpExchange.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace caltrix::fleet {

struct FleetSettings {
    std::string schemaText = std::string(StatusSchemaText());
    std::optional<std::string> fleetToken;     // screens' reports
    std::optional<std::string> operatorToken;  // the page, the listing and the metrics
    std::optional<std::filesystem::path> stateFolder;
    std::string version;
    std::function<FeedFigures()> feedFigures;
    LogLine log;
    std::size_t capacity = kMaxScreens;
    std::function<TimePoint()> clock = [] { return Clock::now(); };
};

class Fleet {
public:
    // Loads the state folder; throws std::runtime_error when it cannot be used.
    explicit Fleet(FleetSettings settings);

    std::vector<feed::HttpRoute> Routes();
    // The server's observer: every answer, by route.
    void CountAnswer(std::string_view route, int status);

    const FleetRegistry& Registry() const { return m_registry; }
    // Returns once the state folder holds everything taken so far.
    void FlushState();

private:
    feed::HttpAnswer screensFolder(const feed::HttpRequest& request);
    feed::HttpAnswer takeReport(const std::string& name, const feed::HttpRequest& request);
    feed::HttpAnswer takePicture(const std::string& name, const feed::HttpRequest& request);
    feed::HttpAnswer operatorAnswer(const feed::HttpRequest& request, const std::string& name, const std::string& what);
    feed::HttpAnswer listing() const;
    std::optional<feed::HttpAnswer> refusedReport(const feed::HttpRequest& request, const std::string& name);
    std::optional<feed::HttpAnswer> refusedOperator(const feed::HttpRequest& request) const;
    feed::HttpAnswer refusal(int status, Rejection reason, std::string why);

    FleetSettings m_settings;
    StatusSchema m_schema;
    Gate m_screens;
    Gate m_operator;
    FleetRegistry m_registry;
    FleetMetrics m_metrics;
    std::unique_ptr<StateFolder> m_state;
};

}  // namespace caltrix::fleet
