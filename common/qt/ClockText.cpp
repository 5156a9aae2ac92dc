#include "common/qt/ClockText.h"

namespace caltrix {

// The long format is the one with seconds; it ends with the time zone ("t"
// outside quoted text), which a wall clock leaves out.
QString ClockFormat(const QLocale& locale) {
    const QString longFormat = locale.timeFormat(QLocale::LongFormat);
    QString format;
    bool quoted = false;
    for (const QChar c : longFormat) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted || c != QLatin1Char('t')) format += c;
    }
    return format.trimmed();
}

QString ClockText(const QTime& time, const QLocale& locale) { return locale.toString(time, ClockFormat(locale)); }

}  // namespace caltrix
