// The calendar day of the screens' time zone: the day whose matches are
// asked for and shown, and the offset that kick-off times are written in.
#pragma once

#include "feed/model/MatchModel.h"

#include <QDate>
#include <QTimeZone>

#include <chrono>

namespace caltrix::feed {

struct LocalDay {
    QDate date;                           // in the zone
    std::chrono::sys_seconds start, end;  // its midnights, as UTC instants
};

LocalDay LocalDayAt(std::chrono::sys_seconds now, const QTimeZone& zone);

// The zone's offset from UTC at `instant`.
std::chrono::seconds UtcOffset(const QTimeZone& zone, std::chrono::sys_seconds instant);

// Drops the matches that kick off outside `day`, and the competitions left
// without matches: a provider asked by UTC dates answers more than the day.
void KeepMatchesOf(const LocalDay& day, MatchModel& model);

}  // namespace caltrix::feed
