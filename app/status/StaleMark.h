// The stale mark: when no cycle has succeeded for a while, the clock turns
// amber and the ticker says, in place of the configured text, since when the
// results shown are as they are. Both go back at the first good cycle. Only
// these two elements change; the rest of the screen stays as it is.
#pragma once

#include <QColor>
#include <QDateTime>

#include <chrono>
#include <functional>
#include <string>

class QLabel;

namespace caltrix {

class Ticker;

class StaleMark {
public:
    static inline const QColor kAmber{255, 176, 0};
    static inline const QColor kDarkAmber{64, 44, 0};

    using Clock = std::chrono::steady_clock;

    // `staleAfterSeconds` is a design interval (scaled by the time scale); 0
    // turns the mark off. The time, read from `now`, counts from the
    // program's start.
    StaleMark(double staleAfterSeconds, QLabel* clock, QLabel* clockShadow, Ticker& ticker,
              std::function<Clock::time_point()> now = Clock::now);

    // The configured ticker text (padded): shown at once, or when the mark goes.
    void SetTicker(std::string stringa);
    // A cycle succeeded now: the mark goes.
    void CycleSucceeded();
    // Puts the mark up once no cycle has succeeded for the set time (every clock tick).
    void Check();

    bool Stale() const { return m_stale; }
    const QDateTime& LastGoodCycle() const { return m_lastGoodCycle; }  // null before the first

    // The ticker's words while the mark is up.
    static QString Message(const QDateTime& lastGoodCycle, const QDateTime& now);

private:
    void show(bool stale);

    std::chrono::milliseconds m_staleAfter;
    QLabel* m_clock;
    QLabel* m_clockShadow;
    Ticker& m_ticker;
    std::function<Clock::time_point()> m_now;
    Clock::time_point m_goodCycleOrStart;
    QDateTime m_lastGoodCycle;
    bool m_stale = false;
    std::string m_configuredStringa;  // the ticker text held back while the mark is up
    QColor m_clockColour;
    QColor m_shadowColour;
};

}  // namespace caltrix
