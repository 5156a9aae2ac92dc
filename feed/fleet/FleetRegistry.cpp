#include "feed/fleet/FleetRegistry.h"

#include <algorithm>

namespace caltrix::fleet {

bool IsScreenName(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
               c == '-';
    });
}

ScreenState StateOf(const ScreenView& screen, TimePoint now) {
    if (now - screen.reportTime >= kSilentAfter) return ScreenState::Silent;
    return screen.report->stale ? ScreenState::Stale : ScreenState::Live;
}

std::string_view NameOf(ScreenState state) {
    switch (state) {
    case ScreenState::Live:
        return "live";
    case ScreenState::Stale:
        return "stale";
    case ScreenState::Silent:
        return "silent";
    }
    return "live";
}

Taken FleetRegistry::TakeReport(const std::string& name, std::shared_ptr<const StatusReport> report, TimePoint now,
                                bool& pictureWanted) {
    std::shared_ptr<const StatusReport> replaced;  // freed after the lock
    const std::lock_guard lock(m_mutex);
    auto found = m_screens.find(name);
    if (found == m_screens.end()) {
        if (m_screens.size() >= m_capacity) return Taken::Full;
        found = m_screens.emplace(name, ScreenView{name, nullptr, {}, nullptr, {}, false}).first;
    } else if (now - found->second.reportTime < kMinReportSpacing) {
        return Taken::TooOften;
    }
    replaced = std::exchange(found->second.report, std::move(report));
    found->second.reportTime = now;
    pictureWanted = found->second.pictureWanted;
    return Taken::Yes;
}

Taken FleetRegistry::TakePicture(const std::string& name, std::shared_ptr<const std::string> jpeg, TimePoint now) {
    std::shared_ptr<const std::string> replaced;
    const std::lock_guard lock(m_mutex);
    const auto found = m_screens.find(name);
    if (found == m_screens.end()) return Taken::UnknownScreen;
    ScreenView& screen = found->second;
    if (screen.picture && !screen.pictureWanted && now - screen.pictureTime < kMinPictureSpacing)
        return Taken::TooOften;
    replaced = std::exchange(screen.picture, std::move(jpeg));
    screen.pictureTime = now;
    screen.pictureWanted = false;
    return Taken::Yes;
}

void FleetRegistry::Restore(ScreenView screen) {
    const std::lock_guard lock(m_mutex);
    if (m_screens.size() < m_capacity || m_screens.count(screen.name)) m_screens[screen.name] = std::move(screen);
}

bool FleetRegistry::AskForPicture(const std::string& name) {
    const std::lock_guard lock(m_mutex);
    const auto found = m_screens.find(name);
    if (found == m_screens.end()) return false;
    found->second.pictureWanted = true;
    return true;
}

bool FleetRegistry::Remove(const std::string& name) {
    std::optional<ScreenView> removed;
    const std::lock_guard lock(m_mutex);
    const auto found = m_screens.find(name);
    if (found == m_screens.end()) return false;
    removed = std::move(found->second);
    m_screens.erase(found);
    return true;
}

std::vector<ScreenView> FleetRegistry::Screens() const {
    std::vector<ScreenView> screens;
    const std::lock_guard lock(m_mutex);
    screens.reserve(m_screens.size());
    for (const auto& [name, screen] : m_screens) screens.push_back(screen);
    return screens;
}

std::optional<ScreenView> FleetRegistry::Screen(const std::string& name) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_screens.find(name);
    if (found == m_screens.end()) return std::nullopt;
    return found->second;
}

std::size_t FleetRegistry::Count() const {
    const std::lock_guard lock(m_mutex);
    return m_screens.size();
}

}  // namespace caltrix::fleet
