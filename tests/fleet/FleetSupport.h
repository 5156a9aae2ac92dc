// A fleet on a clock the tests step, and requests to its routes.
#pragma once

#include "feed/fleet/Fleet.h"

#include <filesystem>
#include <string>

namespace caltrix::fleet::test {

inline constexpr const char* kFleetToken = "fleet-secret-1";
inline constexpr const char* kOperatorToken = "operator-secret-2";

// A status document as a screen sends it.
std::string StatusDocument(bool stale = false, const std::string& version = "0.1.0");
// The smallest JPEG-looking body the routes take.
std::string JpegBody(std::size_t bytes = 2000);

struct FleetBench {
    explicit FleetBench(std::optional<std::filesystem::path> state = std::nullopt, std::size_t capacity = kMaxScreens);

    feed::HttpAnswer Call(const std::string& method, const std::string& path, std::string body = {},
                          const std::string& authorization = {}, bool loopback = false);
    feed::HttpAnswer Report(const std::string& name, std::string body = StatusDocument());
    feed::HttpAnswer Picture(const std::string& name, std::string body = JpegBody());
    feed::HttpAnswer AsOperator(const std::string& method, const std::string& path);
    // The value of one sample of /metrics, e.g. `caltrix_screen_stale{screen="a"}`; -1 when missing.
    double Metric(const std::string& sample);

    TimePoint now = TimePoint(std::chrono::seconds(1'800'000'000));
    std::unique_ptr<Fleet> fleet;
    std::vector<feed::HttpRoute> routes;
};

std::string Bearer(const std::string& token);
std::string Basic(const std::string& user, const std::string& password);

}  // namespace caltrix::fleet::test
