// Renders the match model as the live-score page in the site's markup form:
// one table cell per line, "class=title" competition headers, one row per match
// with status, home side, score and away side.
#pragma once

#include "feed/model/MatchModel.h"

#include <chrono>
#include <functional>
#include <string>

namespace caltrix::feed {

// The offset of the system's local time zone from UTC at `instant`.
std::chrono::seconds SystemUtcOffset(std::chrono::sys_seconds instant);

// The competition's title on the page (UTF-8): "Area - Name", in the
// page's characters.
std::string CompetitionTitle(const Competition& competition);

// The live-score page (UTF-8) for `model` at `now`, in the site's markup form.
// Not-started matches show their kick-off in local time; `utcOffset` gives the
// local offset for an instant (default: the system's time zone).
std::string WritePage(const MatchModel& model, std::chrono::sys_seconds now,
                      const std::function<std::chrono::seconds(std::chrono::sys_seconds)>& utcOffset = SystemUtcOffset);

}  // namespace caltrix::feed
