// What caltrix-feed's event stream (and a pub/sub server relaying it) tells
// the screens: one Server-Sent Event per new version of what it serves,
//   event: page
//   id: <version>
//   data: {"page":N,"configuration":M,"time":"2026-12-09T21:30:05.120Z"}
// with the page's version, the configuration's version and when the version
// was made.
#pragma once

#include <string_view>

namespace caltrix {

inline constexpr std::string_view kPageEventType = "page";
inline constexpr std::string_view kPageVersionKey = "page";
inline constexpr std::string_view kConfigurationVersionKey = "configuration";
inline constexpr std::string_view kVersionTimeKey = "time";

}  // namespace caltrix
