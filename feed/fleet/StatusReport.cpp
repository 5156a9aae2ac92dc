#include "feed/fleet/StatusReport.h"

#include <valijson/adapters/nlohmann_json_adapter.hpp>
#include <valijson/schema.hpp>
#include <valijson/schema_parser.hpp>
#include <valijson/validation_results.hpp>
#include <valijson/validator.hpp>

#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace caltrix::fleet {
namespace {

using nlohmann::json;

// The innermost schema violation, named by where it is: "<root> [slots] [3] [lines]: ...".
std::string innermostViolation(valijson::ValidationResults& results) {
    valijson::ValidationResults::Error error;
    std::string best;
    std::size_t depth = 0;
    while (results.popError(error)) {
        if (!best.empty() && error.context.size() <= depth) continue;
        depth = error.context.size();
        best.clear();
        for (const std::string& part : error.context) best += part;
        best += ": " + error.description;
    }
    return best;
}

std::uint64_t countAt(const json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_number_unsigned() ? found->get<std::uint64_t>() : 0;
}

std::string slotsOf(const json& document) {
    json slots = json::array();
    for (const json& slot : document.at("slots")) {
        const json& panel = slot.at("panel");
        slots.push_back({{"slot", slot.at("slot")},
                         {"title", panel.at("title")},
                         {"text", panel.at("text")},
                         {"markup", panel.at("markup")}});
    }
    return slots.dump(-1, ' ', false, json::error_handler_t::replace);
}

void readFigures(const json& document, StatusReport& report) {
    report.version = document.at("program").at("version").get<std::string>();
    report.stale = document.at("stale").get<bool>();
    const json& good = document.at("lastSuccessfulCycle");
    if (good.is_object()) report.lastGoodCycleSeconds = SecondsOfUtcTime(good.at("time").get<std::string>());
    if (const auto screen = document.find("screen"); screen != document.end()) {
        report.rendererRestarts = countAt(*screen, "rendererRestarts");
        report.residentMemoryBytes = countAt(*screen, "residentMemoryBytes");
        const json& cycles = screen->at("cycles");
        report.goodCycles = countAt(cycles, "ok");
        report.failedCycles = countAt(cycles, "failed");
    }
    report.slotsJson = slotsOf(document);
}

}  // namespace

StatusSchema::StatusSchema(std::string_view schemaText) : m_schema(std::make_unique<valijson::Schema>()) {
    const json schemaDocument = json::parse(schemaText, nullptr, false);
    if (schemaDocument.is_discarded()) throw std::invalid_argument("the status schema is not JSON");
    try {
        valijson::SchemaParser parser(valijson::SchemaParser::kDraft7);
        parser.populateSchema(valijson::adapters::NlohmannJsonAdapter(schemaDocument), *m_schema);
    } catch (const std::exception& error) {
        throw std::invalid_argument(std::string("the status schema cannot be read: ") + error.what());
    }
}

StatusSchema::~StatusSchema() = default;

std::shared_ptr<const StatusReport> StatusSchema::Read(std::string body, std::string& problem) const {
    const json document = json::parse(body, nullptr, false);
    if (document.is_discarded()) {
        problem = "not JSON";
        return nullptr;
    }
    // One validator per thread keeps its compiled patterns between reports.
    thread_local valijson::Validator validator;
    valijson::ValidationResults results;
    if (!validator.validate(*m_schema, valijson::adapters::NlohmannJsonAdapter(document), &results)) {
        problem = innermostViolation(results);
        return nullptr;
    }
    auto report = std::make_shared<StatusReport>();
    try {
        readFigures(document, *report);
    } catch (const json::exception& error) {  // a schema that lets through what the figures need
        problem = std::string("unexpected document: ") + error.what();
        return nullptr;
    }
    report->document = std::move(body);
    return report;
}

std::optional<double> SecondsOfUtcTime(std::string_view text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, consumed = 0;
    double second = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2dT%2d:%2d:%lf%n", &year, &month, &day, &hour, &minute, &second,
                    &consumed) != 6 ||
        copy.substr(static_cast<std::size_t>(consumed)) != "Z")
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok()) return std::nullopt;
    const auto days = std::chrono::sys_days(date).time_since_epoch();
    return static_cast<double>(std::chrono::duration_cast<std::chrono::seconds>(days).count()) + hour * 3600.0 +
           minute * 60.0 + second;
}

}  // namespace caltrix::fleet
