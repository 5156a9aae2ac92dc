#include "common/WebAddresses.h"
#include "tests/fleet/FleetSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace caltrix::fleet::test {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

json listing(FleetBench& bench) { return json::parse(bench.AsOperator("GET", "/feed/screens/").body); }

TEST(Fleet, ListsSilentAndStaleScreensFirstAndDeliversPictureRequests) {
    FleetBench bench;
    ASSERT_EQ(bench.Report("bar-silent").status, 200);
    bench.now += 200s;
    ASSERT_EQ(bench.Report("bar-live").status, 200);
    ASSERT_EQ(bench.Report("bar-stale", StatusDocument(true)).status, 200);
    bench.now += 5s;

    const json screens = listing(bench).at("screens");
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[0]["name"], "bar-silent");
    EXPECT_EQ(screens[0]["state"], "silent");
    EXPECT_EQ(screens[0]["reportAgeSeconds"], 205);
    EXPECT_EQ(screens[1]["state"], "stale");
    EXPECT_EQ(screens[2]["state"], "live");
    EXPECT_EQ(screens[2]["version"], "0.1.0");
    EXPECT_EQ(screens[2]["slots"].size(), 11u);
    EXPECT_EQ(screens[2]["slots"][0]["markup"], "[12]FT [15]2-1");
    EXPECT_TRUE(screens[2]["picture"].is_null());

    // A picture a minute; one the operator asks for is taken at once and
    // the request reaches the screen in its next report's answer.
    ASSERT_EQ(bench.Picture("bar-live").status, 200);
    bench.now += 10s;
    EXPECT_EQ(bench.Picture("bar-live").status, 429);
    EXPECT_EQ(bench.Call("POST", "/feed/screens/bar-live/picture-request", {}, Bearer(kOperatorToken)).status, 202);
    EXPECT_EQ(json::parse(bench.Report("bar-live").body)["picture"], true);
    EXPECT_EQ(bench.Picture("bar-live", JpegBody(3000)).status, 200);
    bench.now += 1s;
    EXPECT_EQ(json::parse(bench.Report("bar-live").body)["picture"], false);
    const feed::HttpAnswer picture = bench.AsOperator("GET", "/feed/screens/bar-live/picture");
    EXPECT_EQ(picture.contentType, "image/jpeg");
    EXPECT_EQ(picture.body.size(), 3000u);

    EXPECT_EQ(bench.AsOperator("GET", "/screens").contentType, "text/html; charset=utf-8");
    EXPECT_EQ(bench.Call("DELETE", "/feed/screens/bar-silent", {}, Bearer(kOperatorToken)).status, 200);
    EXPECT_EQ(listing(bench)["screens"].size(), 2u);
}

TEST(Fleet, RefusesHostileInputWithAnAnswerAndAMetricAndStoresNothing) {
    FleetBench bench({}, 2);
    ASSERT_EQ(bench.Report("known").status, 200);
    ASSERT_EQ(bench.Picture("known").status, 200);
    const std::string kept = bench.AsOperator("GET", "/feed/screens/known").body;
    bench.now += 2s;

    struct Case {
        const char* what;
        std::function<feed::HttpAnswer()> send;
        int status;
        const char* reason;
    };
    std::string brokenSlot = StatusDocument();
    brokenSlot.replace(brokenSlot.find(R"("lines":2)"), 9, R"("lines":-2)");
    const std::vector<Case> cases{
        {"bad name", [&] { return bench.Report("no/slash"); }, 400, "name"},
        {"name too long", [&] { return bench.Report(std::string(65, 'a')); }, 400, "name"},
        {"not JSON", [&] { return bench.Report("known", "{\"program\":"); }, 400, "document"},
        {"schema violation", [&] { return bench.Report("known", brokenSlot); }, 400, "document"},
        {"not a JPEG", [&] { return bench.Picture("known", "GIF89a......"); }, 400, "document"},
        {"no token", [&] { return bench.Call("PUT", "/feed/screens/known", StatusDocument()); }, 401, "token"},
        {"wrong token",
         [&] { return bench.Call("PUT", "/feed/screens/known", StatusDocument(), Bearer("fleet-secret-X")); }, 401,
         "token"},
        {"operator's token for a report",
         [&] { return bench.Call("PUT", "/feed/screens/known", StatusDocument(), Bearer(kOperatorToken)); }, 401,
         "token"},
        {"report too large", [&] { return bench.Report("known", std::string(kMaxReportBytes + 1, ' ')); }, 413, "size"},
        {"picture too large", [&] { return bench.Picture("known", JpegBody(kMaxPictureBytes + 1)); }, 413, "size"},
        {"picture too often", [&] { return bench.Picture("known"); }, 429, "rate"},
    };
    for (const Case& hostile : cases) {
        const std::string sample =
            std::string("caltrix_screen_reports_rejected_total{reason=\"") + hostile.reason + "\"}";
        const double before = bench.Metric(sample);
        const feed::HttpAnswer answer = hostile.send();
        EXPECT_EQ(answer.status, hostile.status) << hostile.what << ": " << answer.body;
        EXPECT_EQ(bench.Metric(sample), before + 1) << hostile.what;
    }
    EXPECT_NE(bench.Report("known", brokenSlot).body.find("lines"), std::string::npos) << "the answer names the field";

    ASSERT_EQ(bench.Report("second").status, 200);
    EXPECT_EQ(bench.Report("third").status, 507);
    EXPECT_EQ(bench.Report("second").status, 429);
    EXPECT_EQ(bench.Metric(R"(caltrix_screen_reports_rejected_total{reason="capacity"})"), 1);

    EXPECT_EQ(bench.fleet->Registry().Count(), 2u);
    EXPECT_EQ(bench.AsOperator("GET", "/feed/screens/known").body, kept);
    EXPECT_EQ(bench.AsOperator("GET", "/feed/screens/known/picture").body, JpegBody());
}

TEST(Fleet, OperatorRoutesTakeBearerOrBasicAndWithoutATokenOnlyLoopback) {
    FleetBench bench;
    for (const char* path : {"/screens", "/metrics", "/feed/screens/"}) {
        EXPECT_EQ(bench.Call("GET", path, {}, Bearer(kOperatorToken)).status, 200) << path;
        EXPECT_EQ(bench.Call("GET", path, {}, Basic("anyone", kOperatorToken)).status, 200) << path;
        const feed::HttpAnswer refused = bench.Call("GET", path, {}, Basic("anyone", "operator-secret-3"));
        EXPECT_EQ(refused.status, 401) << path;
        EXPECT_EQ(refused.headers.at(0).first, "WWW-Authenticate");
        EXPECT_EQ(bench.Call("GET", path, {}, Bearer(kFleetToken), true).status, 401)
            << "a token set binds loopback too";
    }

    FleetSettings open;
    open.clock = [&bench] { return bench.now; };
    Fleet fleet(std::move(open));
    const auto routes = fleet.Routes();
    feed::HttpRequest request{"GET", "/metrics", {}, {}, {}, "192.0.2.7", false, "http://x"};
    EXPECT_EQ(routes[2].answer(request).status, 403);
    request.peerIsLoopback = true;
    EXPECT_EQ(routes[2].answer(request).status, 200);
    request = {"PUT", "/feed/screens/a", {}, {}, StatusDocument(), "192.0.2.7", false, "http://x"};
    EXPECT_EQ(routes[0].answer(request).status, 403);
    request.peerIsLoopback = true;
    EXPECT_EQ(routes[0].answer(request).status, 200);
}

TEST(Fleet, MetricsGiveEveryScreenAndCountersFromZero) {
    FleetBench bench;
    EXPECT_EQ(bench.Metric(R"(caltrix_screen_reports_rejected_total{reason="rate"})"), 0);
    EXPECT_EQ(bench.Metric(R"(caltrix_build_info{version="9.9.9"})"), 1);
    EXPECT_EQ(bench.Metric(R"(caltrix_feed_polls_total{outcome="good"})"), 5);
    EXPECT_EQ(bench.Metric("caltrix_feed_event_subscribers"), 7);
    ASSERT_EQ(bench.Report("bar.1").status, 200);
    EXPECT_EQ(bench.Metric(R"(caltrix_screen_last_report_timestamp_seconds{screen="bar.1"})"), 1'800'000'000);
    // 2027-01-15T07:59:30.250Z
    EXPECT_DOUBLE_EQ(bench.Metric(R"(caltrix_screen_last_good_cycle_timestamp_seconds{screen="bar.1"})"),
                     1'800'000'000 - 29.75);
    EXPECT_EQ(bench.Metric(R"(caltrix_screen_stale{screen="bar.1"})"), 0);
    EXPECT_EQ(bench.Metric(R"(caltrix_screen_renderer_restarts_total{screen="bar.1"})"), 2);
    EXPECT_EQ(bench.Metric(R"(caltrix_screen_cycles_total{screen="bar.1",outcome="failed"})"), 3);
    EXPECT_EQ(bench.Metric(R"(caltrix_http_requests_total{code="200",path="/feed/screens/"})"), 1);
    EXPECT_GT(bench.Metric("process_resident_memory_bytes"), 0);
    EXPECT_GT(bench.Metric("process_open_fds"), 2);
}

}  // namespace
}  // namespace caltrix::fleet::test
