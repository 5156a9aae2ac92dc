// The addresses that the screens, the feed server and the operator's tools
// agree on: paths on the live-score site (a provider's or caltrix-feed) and
// on the operator's configuration endpoint, and the largest bodies a
// screen's reports may have there.
#pragma once

#include <cstddef>
#include <string_view>

namespace caltrix {

// The live-score page, on the live-score site.
inline constexpr std::string_view kScorePagePath = "/default.dll";
inline constexpr std::string_view kScorePageQuery = "page=soccer";
// Argument of the page's address naming the version a screen asks for
// (caltrix-feed answers that version or a newer one).
inline constexpr std::string_view kPageVersionArgument = "v";
// Header of caltrix-feed's page answers: the version the page is.
inline constexpr std::string_view kVersionHeader = "X-Feed-Version";

// The configuration endpoint's folder: the configuration file and banner pages.
inline constexpr std::string_view kPublicFolder = "/public/";
inline constexpr std::string_view kConfigurationPath = "/public/config.txt";

// caltrix-feed's own routes.
inline constexpr std::string_view kFeedStatusPath = "/feed/status";
inline constexpr std::string_view kFeedEventsPath = "/feed/events";         // Server-Sent Events: new versions
inline constexpr std::string_view kScreenReportsFolder = "/feed/screens/";  // PUT <name>, PUT <name>/picture
inline constexpr std::string_view kScreensPagePath = "/screens";            // the operator's page
inline constexpr std::string_view kMetricsPath = "/metrics";                // Prometheus

// A screen's status report and its picture: the feed server answers a larger
// one 413, and a screen makes its picture fit.
inline constexpr std::size_t kMaxReportBytes = 64 * 1024;
inline constexpr std::size_t kMaxPictureBytes = 150 * 1024;

}  // namespace caltrix
