// A screen's status report as the feed server keeps it: checked against the
// status file's schema, with the few figures the operator's page and the
// metrics need read out once, when it is taken.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace valijson {
class Schema;
}

namespace caltrix::fleet {

struct StatusReport {
    std::string document;  // the report as sent
    std::string version;
    bool stale = false;                          // the screen says its results are stale
    std::optional<double> lastGoodCycleSeconds;  // since the epoch; none before the first good cycle
    std::uint64_t rendererRestarts = 0;
    std::uint64_t residentMemoryBytes = 0;
    std::uint64_t goodCycles = 0;
    std::uint64_t failedCycles = 0;
    std::string slotsJson;  // [{"slot":1,"title":...,"text":...,"markup":...}, ...] for the page
};

// The status file's schema, read once and shared by every request thread.
class StatusSchema {
public:
    explicit StatusSchema(std::string_view schemaText);  // throws std::invalid_argument on a broken schema
    ~StatusSchema();

    // A report taken from `body`, or what is wrong with it in `problem`.
    std::shared_ptr<const StatusReport> Read(std::string body, std::string& problem) const;

private:
    std::unique_ptr<valijson::Schema> m_schema;
};

// "2026-12-09T22:30:05.123Z" as seconds since the epoch; none when it is not one.
std::optional<double> SecondsOfUtcTime(std::string_view text);

}  // namespace caltrix::fleet
