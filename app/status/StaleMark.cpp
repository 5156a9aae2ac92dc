#include "app/status/StaleMark.h"

#include "app/logging/AppLogging.h"
#include "common/qt/Text1252Qt.h"
#include "common/qt/TimeScale.h"
#include "display/Ticker.h"

#include <QLabel>
#include <QLocale>

namespace caltrix {
namespace {

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

StaleMark::StaleMark(double staleAfterSeconds, QLabel* clock, QLabel* clockShadow, Ticker& ticker,
                     std::function<Clock::time_point()> now)
    : m_staleAfter(ScaledMilliseconds(staleAfterSeconds * 1000.0)),
      m_clock(clock),
      m_clockShadow(clockShadow),
      m_ticker(ticker),
      m_now(std::move(now)),
      m_goodCycleOrStart(m_now()) {}

void StaleMark::SetTicker(std::string stringa) {
    if (m_stale) {
        m_configuredStringa = std::move(stringa);
        return;
    }
    m_ticker.SetStringaStart(1);
    m_ticker.SetStringa(std::move(stringa));
}

void StaleMark::CycleSucceeded() {
    m_lastGoodCycle = QDateTime::currentDateTime();
    m_goodCycleOrStart = m_now();
    if (m_stale) show(false);
}

void StaleMark::Check() {
    if (!m_stale && m_staleAfter.count() > 0 && m_now() - m_goodCycleOrStart >= m_staleAfter) show(true);
}

QString StaleMark::Message(const QDateTime& lastGoodCycle, const QDateTime& now) {
    static const QString waiting = QStringLiteral("waiting for the live-score site");
    if (!lastGoodCycle.isValid()) return QStringLiteral("No results yet, ") + waiting;
    const QLocale locale = QLocale::system();
    const QString when = lastGoodCycle.date() == now.date()
                             ? locale.toString(lastGoodCycle.time(), QLocale::ShortFormat)
                             : locale.toString(lastGoodCycle, QLocale::ShortFormat);
    return QStringLiteral("Results as of %1, %2").arg(when, waiting);
}

void StaleMark::show(bool stale) {
    m_stale = stale;
    if (stale) {
        const auto since = std::chrono::duration_cast<std::chrono::seconds>(m_now() - m_goodCycleOrStart);
        qCWarning(lcShell).noquote() << "results stale: no cycle has succeeded for" << since.count() << "s";
        m_clockColour = TextColour(m_clock);
        m_shadowColour = TextColour(m_clockShadow);
        SetTextColour(m_clock, kAmber);
        SetTextColour(m_clockShadow, kDarkAmber);
        m_configuredStringa = m_ticker.Stringa();
        m_ticker.SetStringa(Ticker::Padded(ToWindows1252(Message(m_lastGoodCycle, QDateTime::currentDateTime()))));
    } else {
        qCInfo(lcShell) << "results fresh again";
        SetTextColour(m_clock, m_clockColour);
        SetTextColour(m_clockShadow, m_shadowColour);
        m_ticker.SetStringa(std::move(m_configuredStringa));
    }
    m_ticker.SetStringaStart(1);
}

}  // namespace caltrix
