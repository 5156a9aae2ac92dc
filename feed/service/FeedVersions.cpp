#include "feed/service/FeedVersions.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace caltrix::feed {
namespace {

std::string utcText(std::chrono::system_clock::time_point time) {
    const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(time);
    const auto seconds = std::chrono::floor<std::chrono::seconds>(milliseconds);
    const std::chrono::year_month_day day(std::chrono::floor<std::chrono::days>(seconds));
    const std::chrono::hh_mm_ss clock(seconds - std::chrono::floor<std::chrono::days>(seconds));
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld:%02ld:%02ld.%03ldZ", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()),
                  static_cast<long>(clock.hours().count()), static_cast<long>(clock.minutes().count()),
                  static_cast<long>(clock.seconds().count()), static_cast<long>((milliseconds - seconds).count()));
    return text;
}

}  // namespace

std::int64_t VersionBook::next(std::chrono::system_clock::time_point now) {
    const std::int64_t clock = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    return std::max(m_versions.Latest() + 1, clock);
}

bool VersionBook::Offer(const std::optional<std::string>& page, const std::optional<std::string>& configuration,
                        std::chrono::system_clock::time_point now) {
    const bool pageChanged = m_first || page != m_page;
    const bool configurationChanged = m_first || configuration != m_configuration;
    m_first = false;
    if (!pageChanged && !configurationChanged) return false;
    const std::int64_t number = next(now);
    if (pageChanged) {
        m_page = page;
        m_versions.page = number;
    }
    if (configurationChanged) {
        m_configuration = configuration;
        m_versions.configuration = number;
    }
    m_versions.time = now;
    return true;
}

std::string EventData(const ServedVersions& versions) {
    const auto field = [](std::string_view key, const std::string& value) {
        return "\"" + std::string(key) + "\":" + value;
    };
    return "{" + field(kLatestVersionKey, std::to_string(versions.Latest())) + "," +
           field(kPageVersionKey, std::to_string(versions.page)) + "," +
           field(kConfigurationVersionKey, std::to_string(versions.configuration)) + "," +
           field(kVersionTimeKey, "\"" + utcText(versions.time) + "\"") + "}";
}

std::string EventText(const ServedVersions& versions) {
    return "event: " + std::string(kPageEventType) + "\nid: " + std::to_string(versions.Latest()) +
           "\ndata: " + EventData(versions) + "\n\n";
}

std::optional<std::int64_t> VersionNamed(std::string_view text) {
    std::int64_t version = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || version < 0) return std::nullopt;
    return version;
}

void EventCursor::Next(const ServedVersions& now, bool beat, std::string& out) {
    const bool opening = !m_opened;
    m_opened = true;
    if (!m_sent || (now.Latest() != *m_sent && (opening || now.Latest() > *m_sent))) {
        out += EventText(now);
        m_sent = now.Latest();
    } else if (opening || beat) {
        out += kKeepAliveText;
    }
}

}  // namespace caltrix::feed
