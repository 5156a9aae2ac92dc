// The demo's source: the simulated match day, run from a point where several
// matches already run at a chosen speed. Its bundled configuration file and
// banner and link pages are served as the configuration endpoint's /public/,
// and the program runs its normal chain against both.
#pragma once

#include "feed/service/MatchSource.h"
#include "feed/sources/SimulatedMatchDay.h"

#include <QElapsedTimer>

namespace caltrix::feed {

class DemoMatchDay : public MatchSource {
    Q_OBJECT
public:
    // The folder of the bundled configuration and pages.
    static QString BundledFolder();

    // `matchMinutesPerSecond`: simulated match minutes per real second.
    explicit DemoMatchDay(double matchMinutesPerSecond = 0.25);

    void Start() override { m_clock.start(); }
    std::optional<std::string> PageNow() override;
    const MatchModel* LastGoodMatches() const override { return m_shown ? &*m_shown : nullptr; }
    QJsonObject Status(std::chrono::sys_seconds now) const override;
    QString Description() const override;
    QString Origin() const override;

    // The simulated minute of the match day now.
    double MinutesNow() const;

private:
    double m_speed;
    double m_startMinute = 40.0;  // start where several matches already run
    QElapsedTimer m_clock;
    SimulatedMatchDay m_day;
    std::optional<MatchModel> m_shown;  // the matches of the last page
};

}  // namespace caltrix::feed
