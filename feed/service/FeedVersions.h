// The versions of what a feed server serves, and the text of its event
// stream. One sequence numbers the page and the configuration: a new number
// each time the bytes of either change, never below the wall clock in
// milliseconds, so that a restarted server goes on above the numbers it gave
// before (screens keep the last one they saw). An event's id is the latest
// number; "version N of the page" is the page as it was served at number N.
// Plain C++: times are arguments.
#pragma once

#include "common/FeedEvents.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace caltrix::feed {

struct ServedVersions {
    std::int64_t page = 0;                       // the number at which the page last changed
    std::int64_t configuration = 0;              // ... the configuration
    std::chrono::system_clock::time_point time;  // when the latest number was given

    std::int64_t Latest() const { return page > configuration ? page : configuration; }
};

class VersionBook {
public:
    // Takes what is served now (nothing: no page, or no configuration); true
    // when the page or the configuration differs from before, with new numbers.
    bool Offer(const std::optional<std::string>& page, const std::optional<std::string>& configuration,
               std::chrono::system_clock::time_point now);
    const ServedVersions& Versions() const { return m_versions; }

private:
    std::int64_t next(std::chrono::system_clock::time_point now);

    ServedVersions m_versions;
    std::optional<std::string> m_page, m_configuration;
    bool m_first = true;
};

// An event's data, one line of JSON with the keys of common/FeedEvents.h.
std::string EventData(const ServedVersions& versions);
// One event of the stream: "event: page", "id: <latest>" and the data line.
std::string EventText(const ServedVersions& versions);
inline constexpr std::string_view kKeepAliveText = ": keep-alive\n\n";

// The version named by a Last-Event-ID header or a page's v= argument:
// plain digits; nothing for anything else.
std::optional<std::int64_t> VersionNamed(std::string_view text);

// What one event stream sends: at once the current versions (a client whose
// Last-Event-ID is the latest gets a comment instead), then an event for each
// newer version and a keep-alive comment on each beat without one.
class EventCursor {
public:
    explicit EventCursor(std::optional<std::int64_t> lastEventId) : m_sent(lastEventId) {}
    void Next(const ServedVersions& now, bool beat, std::string& out);

private:
    std::optional<std::int64_t> m_sent;
    bool m_opened = false;
};

}  // namespace caltrix::feed
