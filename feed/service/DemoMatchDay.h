// The demo's source: the simulated match day, run from a point where several
// matches already run at a chosen speed, and the bundled configuration file
// and banner and link pages. The feed service serves both from inside the
// program, and the program runs its normal chain against them.
#pragma once

#include "feed/sources/SimulatedMatchDay.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <optional>
#include <string>

namespace caltrix::demo {

class DemoFeed {
public:
    // `matchMinutesPerSecond`: simulated match minutes per real second.
    explicit DemoFeed(double matchMinutesPerSecond = 0.25);

    // The simulated minute of the match day now.
    double MinutesNow() const;
    // The live-score page of the simulated matches now.
    std::string PageNow() const;

    // A bundled file of the configuration endpoint's /public/; nothing for
    // unknown or unsafe names.
    static std::optional<QByteArray> BundledFile(const QString& name);

private:
    double m_speed;
    double m_startMinute = 40.0;  // start where several matches already run
    QElapsedTimer m_clock;
    feed::SimulatedMatchDay m_day;
};

}  // namespace caltrix::demo
