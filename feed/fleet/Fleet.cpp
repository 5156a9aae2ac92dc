#include "feed/fleet/Fleet.h"

#include "common/WebAddresses.h"
#include "feed/fleet/EmbeddedText.h"

#include <algorithm>
#include <cmath>

namespace caltrix::fleet {
namespace {

using feed::HttpAnswer;
using feed::HttpRequest;
using feed::MakeAnswer;
using feed::TextAnswer;
using nlohmann::json;

constexpr std::string_view kPictureSuffix = "/picture";
constexpr std::string_view kPictureRequestSuffix = "/picture-request";
// Sent by the operator's page with its requests that change something, so
// that another site's form cannot make a browser send them.
constexpr const char* kOperatorHeader = "x-caltrix-operator";

HttpAnswer text(int status, std::string body) { return MakeAnswer(status, "text/plain; charset=utf-8", body + "\n"); }

HttpAnswer jsonAnswer(std::string body) {
    return MakeAnswer(200, "application/json", std::move(body), {{"Cache-Control", "no-store"}});
}

HttpAnswer notAllowed(std::string allow) { return TextAnswer(405, "method not allowed\n", {{"Allow", allow}}); }

bool isJpeg(const std::string& body) { return body.size() > 4 && body.compare(0, 3, "\xFF\xD8\xFF") == 0; }

double ageSeconds(TimePoint now, TimePoint then) {
    return std::max(0.0, std::floor(std::chrono::duration<double>(now - then).count()));
}

int sortRank(ScreenState state) { return state == ScreenState::Silent ? 0 : state == ScreenState::Stale ? 1 : 2; }

void appendScreen(std::string& out, const ScreenView& screen, ScreenState state, TimePoint now) {
    const StatusReport& report = *screen.report;
    const double nowSeconds = std::chrono::duration<double>(now.time_since_epoch()).count();
    out +=
        R"({"name":")" + screen.name + R"(","state":")" + std::string(NameOf(state)) + R"(","reportAgeSeconds":)" +
        json(ageSeconds(now, screen.reportTime)).dump() + R"(,"goodCycleAgeSeconds":)" +
        (report.lastGoodCycleSeconds ? json(std::max(0.0, std::floor(nowSeconds - *report.lastGoodCycleSeconds))).dump()
                                     : "null") +
        R"(,"version":)" + json(report.version).dump(-1, ' ', false, json::error_handler_t::replace) +
        R"(,"picture":)" +
        (screen.picture
             ? std::to_string(
                   std::chrono::duration_cast<std::chrono::milliseconds>(screen.pictureTime.time_since_epoch()).count())
             : "null") +
        R"(,"pictureAgeSeconds":)" + (screen.picture ? json(ageSeconds(now, screen.pictureTime)).dump() : "null") +
        R"(,"pictureWanted":)" + (screen.pictureWanted ? "true" : "false") + R"(,"slots":)" + report.slotsJson + "}";
}

}  // namespace

Fleet::Fleet(FleetSettings settings)
    : m_settings(std::move(settings)),
      m_schema(m_settings.schemaText),
      m_screens(m_settings.fleetToken),
      m_operator(m_settings.operatorToken),
      m_registry(m_settings.capacity),
      m_metrics(m_settings.version, m_registry, m_settings.feedFigures) {
    if (!m_settings.log) m_settings.log = [](const std::string&) {};
    if (m_settings.stateFolder) {
        m_state = std::make_unique<StateFolder>(*m_settings.stateFolder, m_settings.log);
        m_state->LoadInto(m_registry, m_schema);
        if (const std::size_t count = m_registry.Count())
            m_settings.log("state folder " + m_settings.stateFolder->string() + ": " + std::to_string(count) +
                           " screens restored");
    }
}

std::vector<feed::HttpRoute> Fleet::Routes() {
    feed::HttpRoute reports{std::string(kScreenReportsFolder),
                            {"GET", "HEAD", "PUT", "POST", "DELETE"},
                            kMaxPictureBytes,
                            [this](const HttpRequest& request) { return screensFolder(request); }};
    feed::HttpRoute page{std::string(kScreensPagePath), {"GET", "HEAD"}, 0, [this](const HttpRequest& request) {
                             if (auto refused = refusedOperator(request)) return *refused;
                             return MakeAnswer(200, "text/html; charset=utf-8", std::string(ScreensPageHtml()),
                                               {{"Cache-Control", "no-store"}});
                         }};
    feed::HttpRoute metrics{std::string(kMetricsPath), {"GET", "HEAD"}, 0, [this](const HttpRequest& request) {
                                if (auto refused = refusedOperator(request)) return *refused;
                                return MakeAnswer(200, "text/plain; version=0.0.4; charset=utf-8", m_metrics.Text());
                            }};
    return {reports, page, metrics};
}

void Fleet::CountAnswer(std::string_view route, int status) {
    m_metrics.CountAnswer(route, status);
    // Bodies over a route's cap are refused by the server before the route runs.
    if (status == 413 && route == kScreenReportsFolder) m_metrics.CountRejection(Rejection::Size);
}

void Fleet::FlushState() {
    if (m_state) m_state->Flush();
}

HttpAnswer Fleet::refusal(int status, Rejection reason, std::string why) {
    m_metrics.CountRejection(reason);
    return text(status, std::move(why));
}

// /feed/screens/                         GET: every screen, for the page
// /feed/screens/NAME                     PUT: a report; GET: the latest; DELETE: forget the screen
// /feed/screens/NAME/picture             PUT: a picture; GET: the latest
// /feed/screens/NAME/picture-request     POST: ask the screen for a fresh picture
HttpAnswer Fleet::screensFolder(const HttpRequest& request) {
    std::string rest = request.path.substr(std::min(request.path.size(), kScreenReportsFolder.size()));
    if (rest.empty()) {
        if (request.method != "GET" && request.method != "HEAD") return notAllowed("GET, HEAD");
        if (auto refused = refusedOperator(request)) return *refused;
        return listing();
    }
    std::string what;
    for (const std::string_view suffix : {kPictureSuffix, kPictureRequestSuffix})
        if (rest.size() > suffix.size() && rest.ends_with(suffix)) {
            what = suffix.substr(1);
            rest.resize(rest.size() - suffix.size());
            break;
        }
    if (request.method == "PUT" && what.empty()) return takeReport(rest, request);
    if (request.method == "PUT" && what == "picture") return takePicture(rest, request);
    return operatorAnswer(request, rest, what);
}

std::optional<HttpAnswer> Fleet::refusedReport(const HttpRequest& request, const std::string& name) {
    if (!m_screens.Admits(request)) {
        if (!m_settings.fleetToken)
            return refusal(403, Rejection::Token, "reports are taken from loopback only: no fleet token is set");
        HttpAnswer answer = refusal(401, Rejection::Token, "a report needs the fleet token");
        answer.headers.emplace_back("WWW-Authenticate", "Bearer realm=\"caltrix-feed\"");
        return answer;
    }
    if (!IsScreenName(name)) return refusal(400, Rejection::Name, "a screen's name is 1 to 64 of A-Z a-z 0-9 . _ -");
    return std::nullopt;
}

HttpAnswer Fleet::takeReport(const std::string& name, const HttpRequest& request) {
    if (auto refused = refusedReport(request, name)) return *refused;
    if (request.body.size() > kMaxReportBytes)
        return text(413, "a report is at most " + std::to_string(kMaxReportBytes) + " bytes");
    const TimePoint now = m_settings.clock();
    if (const auto screen = m_registry.Screen(name); screen && now - screen->reportTime < kMinReportSpacing)
        return refusal(429, Rejection::Rate, "at most one report a second");
    std::string problem;
    auto report = m_schema.Read(request.body, problem);
    if (!report) return refusal(400, Rejection::Document, "not a status document: " + problem);
    const bool known = m_registry.Screen(name).has_value();
    bool pictureWanted = false;
    switch (m_registry.TakeReport(name, report, now, pictureWanted)) {
    case Taken::TooOften:
        return refusal(429, Rejection::Rate, "at most one report a second");
    case Taken::Full:
        return refusal(507, Rejection::Capacity,
                       "the fleet is full: at most " + std::to_string(m_settings.capacity) + " screens");
    default:
        break;
    }
    if (!known) m_settings.log("screen " + name + " reports from " + request.peer);
    if (m_state) m_state->SaveReport(name, report, now);
    return jsonAnswer(std::string(R"({"picture":)") + (pictureWanted ? "true" : "false") + "}\n");
}

HttpAnswer Fleet::takePicture(const std::string& name, const HttpRequest& request) {
    if (auto refused = refusedReport(request, name)) return *refused;
    if (!isJpeg(request.body)) return refusal(400, Rejection::Document, "a picture is a JPEG image");
    const TimePoint now = m_settings.clock();
    auto jpeg = std::make_shared<const std::string>(request.body);
    switch (m_registry.TakePicture(name, jpeg, now)) {
    case Taken::UnknownScreen:
        return text(404, "no report from this screen yet");
    case Taken::TooOften:
        return refusal(429, Rejection::Rate, "at most one picture a minute");
    default:
        break;
    }
    if (m_state) m_state->SavePicture(name, std::move(jpeg), now);
    return text(200, "taken");
}

HttpAnswer Fleet::operatorAnswer(const HttpRequest& request, const std::string& name, const std::string& what) {
    if (auto refused = refusedOperator(request)) return *refused;
    if (!IsScreenName(name)) return text(404, "no such screen");
    const bool reading = request.method == "GET" || request.method == "HEAD";
    if (what == "picture-request") {
        if (request.method != "POST") return notAllowed("POST");
        if (!request.Header(kOperatorHeader)) return text(400, "sent by the operator's page only");
        return m_registry.AskForPicture(name) ? text(202, "asked") : text(404, "no such screen");
    }
    const auto screen = m_registry.Screen(name);
    if (what == "picture") {
        if (!reading) return notAllowed("GET, HEAD, PUT");
        if (!screen || !screen->picture) return text(404, "no picture of this screen");
        return MakeAnswer(200, "image/jpeg", *screen->picture, {{"Cache-Control", "no-store"}});
    }
    if (request.method == "DELETE") {
        if (!request.Header(kOperatorHeader)) return text(400, "sent by the operator's page only");
        if (!m_registry.Remove(name)) return text(404, "no such screen");
        if (m_state) m_state->Remove(name);
        m_settings.log("screen " + name + " removed by the operator");
        return text(200, "removed");
    }
    if (!reading) return notAllowed("GET, HEAD, PUT, DELETE");
    if (!screen) return text(404, "no such screen");
    return jsonAnswer(screen->report->document);
}

std::optional<HttpAnswer> Fleet::refusedOperator(const HttpRequest& request) const {
    if (m_operator.Admits(request)) return std::nullopt;
    if (!m_settings.operatorToken)
        return text(403, "the operator's pages answer on loopback only: no operator token is set");
    HttpAnswer answer = text(401, "the operator's token is needed");
    answer.headers.emplace_back("WWW-Authenticate", "Basic realm=\"caltrix-feed\", charset=\"UTF-8\"");
    return answer;
}

HttpAnswer Fleet::listing() const {
    const TimePoint now = m_settings.clock();
    std::vector<std::pair<ScreenState, ScreenView>> screens;
    for (ScreenView& screen : m_registry.Screens()) {
        const ScreenState state = StateOf(screen, now);
        screens.emplace_back(state, std::move(screen));
    }
    std::stable_sort(screens.begin(), screens.end(),
                     [](const auto& a, const auto& b) { return sortRank(a.first) < sortRank(b.first); });
    std::string out = R"({"silentAfterSeconds":)" + std::to_string(kSilentAfter.count()) + R"(,"screens":[)";
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (i) out += ',';
        appendScreen(out, screens[i].second, screens[i].first, now);
    }
    out += "]}\n";
    return jsonAnswer(std::move(out));
}

}  // namespace caltrix::fleet
