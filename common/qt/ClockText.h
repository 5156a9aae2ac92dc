// The clock's text: the time of day in the system's time format.
#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

namespace caltrix {

// The locale's time format with hours, minutes and seconds and without a time
// zone: "h:mm:ss AP" for a 12-hour locale, "HH:mm:ss" for a 24-hour one.
QString ClockFormat(const QLocale& locale);

// `time` as the clock shows it under `locale`, e.g. "3:07:09 PM" or "15:07:09".
QString ClockText(const QTime& time, const QLocale& locale = QLocale::system());

}  // namespace caltrix
