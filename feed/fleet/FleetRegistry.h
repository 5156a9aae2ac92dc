// The latest report and picture of every screen of the fleet. Request
// threads take reports and pictures while others list the screens: every
// change and every listing holds the lock only to swap or copy pointers to
// whole, unchanging reports and pictures.
#pragma once

#include "feed/fleet/StatusReport.h"

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace caltrix::fleet {

using Clock = std::chrono::system_clock;
using TimePoint = Clock::time_point;

inline constexpr std::size_t kMaxScreens = 10000;
inline constexpr std::chrono::seconds kMinReportSpacing{1};
inline constexpr std::chrono::seconds kMinPictureSpacing{60};
inline constexpr std::chrono::seconds kSilentAfter{180};

// [A-Za-z0-9._-]{1,64}
bool IsScreenName(std::string_view name);

enum class Taken { Yes, TooOften, Full, UnknownScreen };

// One screen as a listing sees it.
struct ScreenView {
    std::string name;
    std::shared_ptr<const StatusReport> report;  // never null in a listing
    TimePoint reportTime;
    std::shared_ptr<const std::string> picture;  // JPEG; null before the first
    TimePoint pictureTime;
    bool pictureWanted = false;
};

enum class ScreenState { Live, Stale, Silent };
ScreenState StateOf(const ScreenView& screen, TimePoint now);
std::string_view NameOf(ScreenState state);

class FleetRegistry {
public:
    explicit FleetRegistry(std::size_t capacity = kMaxScreens) : m_capacity(capacity) {}

    // A report from `name`; `pictureWanted` tells whether the operator asks it for a picture.
    Taken TakeReport(const std::string& name, std::shared_ptr<const StatusReport> report, TimePoint now,
                     bool& pictureWanted);
    // A picture from a screen that has reported. One the operator asked for
    // is taken however soon after the last.
    Taken TakePicture(const std::string& name, std::shared_ptr<const std::string> jpeg, TimePoint now);
    // Restores what the state folder kept, before serving.
    void Restore(ScreenView screen);

    bool AskForPicture(const std::string& name);
    bool Remove(const std::string& name);

    std::vector<ScreenView> Screens() const;  // by name
    std::optional<ScreenView> Screen(const std::string& name) const;
    std::size_t Count() const;

private:
    std::size_t m_capacity;
    mutable std::mutex m_mutex;
    std::map<std::string, ScreenView, std::less<>> m_screens;
};

}  // namespace caltrix::fleet
