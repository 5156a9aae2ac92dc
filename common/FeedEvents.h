// What caltrix-feed's event stream (and a pub/sub server relaying it) tells
// the screens: one Server-Sent Event per new version of what it serves,
//   event: page
//   id: <version>
//   data: {"version":V,"page":P,"config":C,"time":"2026-12-09T21:30:05.120Z"}
// with the latest version (the one to ask the page for), the versions at
// which the page and the configuration last changed, and when the latest was
// made. Versions only grow, also across restarts of the feed server.
#pragma once

#include <string_view>

namespace caltrix {

inline constexpr std::string_view kPageEventType = "page";
inline constexpr std::string_view kLatestVersionKey = "version";
inline constexpr std::string_view kPageVersionKey = "page";
inline constexpr std::string_view kConfigurationVersionKey = "config";
inline constexpr std::string_view kVersionTimeKey = "time";

}  // namespace caltrix
