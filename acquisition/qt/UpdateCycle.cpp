#include "acquisition/qt/UpdateCycle.h"

#include "acquisition/qt/LiveScorePage.h"
#include "common/qt/OffUiThread.h"
#include "acquisition/PageCheck.h"
#include "common/FileNames.h"
#include "common/WebAddresses.h"
#include "acquisition/qt/AcquisitionLogging.h"
#include "common/SlotSelectionStore.h"
#include "common/qt/Text1252Qt.h"
#include "common/qt/TimeScale.h"
#include "common/LineFile.h"

#include <malloc.h>

#include <QElapsedTimer>

#include <stdexcept>

namespace caltrix {
namespace {

constexpr std::string_view kConfigMarker = "qesa\r\n";

// A step of the cycle that cannot go on; the message says why.
class CycleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

QUrl WithPath(QUrl base, const QString& path, const QString& query = QString()) {
    base.setPath(path);
    base.setQuery(query);
    base.setFragment(QString());
    return base;
}

QString DescribeCompletedCycle(const CycleReport& summary) {
    const QString configuration = summary.configurationError.isEmpty() ? QStringLiteral("%1 bytes (%2 lines applied)")
                                                                             .arg(summary.configurationBytes)
                                                                             .arg(summary.configurationApplied)
                                                                       : QStringLiteral("kept");
    const QString written = summary.parse.pageFound
                                ? QString::fromStdString(summary.parse.combinedFile.filename().string()) +
                                      QStringLiteral(" and the 11 slot files")
                                : QStringLiteral("nothing (no saved page)");
    return QStringLiteral(
               "configuration %1, page %2 bytes saved in %3 ms, parsed in %4 ms: %5 matches in %6 "
               "competitions, written %7")
        .arg(configuration)
        .arg(summary.pageBytes)
        .arg(summary.saveMs)
        .arg(summary.parseMs)
        .arg(summary.parse.matches)
        .arg(summary.parse.competitions)
        .arg(written);
}

// Writes the saved page. A page still loading is saved as far as it came;
// one of which nothing came at all (a site that does not answer), garbage, an
// empty body or an error page would only blank every slot: those are
// refused, and the last results stay.
void SaveAndCheck(const std::filesystem::path& savedPage, const std::string& markup, bool loaded) {
    WriteWholeFile(savedPage, markup);
    if (!loaded && markup.empty()) {
        DeleteFileIfPresent(savedPage);
        throw CycleError("nothing of the live-score page arrived within the wait");
    }
    if (!LooksLikeLiveScorePage(markup)) {
        DeleteFileIfPresent(savedPage);
        throw CycleError("the saved page is not a live-score page (no competition title, no closing marker)");
    }
}

}  // namespace


UpdateCycle::UpdateCycle(UpdateCycleSettings settings, ConfigTargets& configTargets, SlotSelectionStore& selections,
                         QObject* parent)
    : QObject(parent),
      m_settings(std::move(settings)),
      m_configTargets(configTargets),
      m_selections(selections),
      m_page(new LiveScorePage(this)),
      m_titles(std::make_unique<TitleList>()) {
    connect(m_page, &LiveScorePage::statusText, this, &UpdateCycle::MostraStato);
    connect(&m_timer1, &QTimer::timeout, this, &UpdateCycle::onTimer1);
    SetTimer1Interval(kTimer1AtCreationMs);
    m_timer1.start();
}

UpdateCycle::~UpdateCycle() = default;

void UpdateCycle::SetTimer1Interval(int designMilliseconds) {
    m_timer1DesignMs = designMilliseconds;
    m_timer1.setInterval(ScaledMilliseconds(designMilliseconds));
}

void UpdateCycle::MostraStato(const QString& text) {
    if (text == m_statusText) return;
    m_statusText = text;
    emit statusTextChanged(text);
}

void UpdateCycle::onTimer1() {
    if (m_cycleRunning) {
        qCInfo(lcCycle) << "cycle timer ticked while cycle" << m_cycleNumber << "runs: tick dropped";
        return;
    }
    // A tick sooner than a cycle length after the last start (F5's interval
    // is shorter) waits for the rest of it.
    if (const qint64 rest = restOfCycle(); rest > 0) {
        m_timer1.start(static_cast<int>(rest));
        return;
    }
    m_timer1.stop();
    SetTimer1Interval(kTimer1AfterTickMs);
    AggiornaTelevideo();
    m_timer1.start(msUntilNextTick());
}

// What is left of the described length of a cycle since the last one started.
qint64 UpdateCycle::restOfCycle() const {
    return m_cycleStarted.isValid() ? ScaledMilliseconds(kCycleLengthMs) - m_cycleStarted.elapsed() : 0;
}

// One second after the cycle that just ended, but not before the described
// length of a cycle has passed since it started.
int UpdateCycle::msUntilNextTick() const {
    return static_cast<int>(std::max<qint64>(ScaledMilliseconds(kTimer1AfterTickMs), restOfCycle()));
}

void UpdateCycle::RunNow(std::optional<qint64> pageVersion) {
    if (pageVersion && (!m_requestedVersion || *pageVersion > *m_requestedVersion)) m_requestedVersion = pageVersion;
    if (m_runRequested) return;
    m_runRequested = true;
    // Never from inside the caller: it may be reading a network answer that
    // the cycle's waits would read again.
    if (!m_cycleRunning) QTimer::singleShot(0, this, &UpdateCycle::runRequested);
}

void UpdateCycle::runRequested() {
    if (m_cycleRunning || !m_runRequested) return;
    m_runRequested = false;
    m_pageVersion = std::exchange(m_requestedVersion, std::nullopt);
    AggiornaTelevideo();
    m_pageVersion.reset();
}

bool UpdateCycle::AggiornaTelevideo() {
    if (m_cycleRunning) {
        qCInfo(lcCycle) << "update requested while cycle" << m_cycleNumber << "runs: request dropped";
        return false;
    }
    m_cycleRunning = true;
    m_cycleStarted.start();
    const int cycle = ++m_cycleNumber;
    CycleReport summary;
    try {
        runCycle(summary);
        summary.completed = true;
        qCInfo(lcCycle).nospace().noquote() << "cycle " << cycle << " done in " << m_cycleStarted.elapsed()
                                            << " ms: " << DescribeCompletedCycle(summary);
    } catch (const std::exception& failure) {
        summary.error = QString::fromLocal8Bit(failure.what());
        qCWarning(lcCycle).nospace().noquote()
            << "cycle " << cycle << " failed after " << m_cycleStarted.elapsed() << " ms at the " << summary.step
            << ": " << failure.what() << "; previous results kept";
    }
    m_cycleRunning = false;
    // A cycle briefly holds the whole page several times over (the engine's
    // markup, the saved bytes, the parse); give the freed heap back to the
    // system so a month of cycles does not keep the largest page's peak.
    malloc_trim(0);
    if (m_runRequested) QTimer::singleShot(0, this, &UpdateCycle::runRequested);
    emit cycleFinished(summary);
    return summary.completed;
}

// The described waits after the configuration and after the save end as
// soon as the configuration is applied and the save written, that is when the
// calls that do them return; only the page load is waited for.
void UpdateCycle::runCycle(CycleReport& summary) {
    qCDebug(lcCycle) << "cycle" << m_cycleNumber << "started";
    updateConfiguration(summary);

    summary.step = "live-score page";
    loadLiveScorePage();

    summary.step = "page saving";
    const std::filesystem::path savedPage = m_settings.workFolder / kSavedPageName;
    QElapsedTimer stepClock;
    stepClock.start();
    std::string markup = m_page->TakeMarkup();
    // Writing, checking and parsing a page of megabytes would stall the user
    // interface: they run off its thread, on the markup handed over whole
    // and on copies of what else they need.
    summary.pageBytes = markup.size();
    RunOffUiThread([&savedPage, markup = std::move(markup), loaded = m_page->Loaded()]() mutable {
        // Taken over here, so the worker also frees it.
        const std::string page = std::move(markup);
        SaveAndCheck(savedPage, page, loaded);
        return true;
    });
    summary.saveMs = stepClock.elapsed();

    summary.step = "parse";
    // The title list is touched by nothing else while a cycle runs.
    stepClock.restart();
    summary.parse =
        RunOffUiThread([savedPage, selections = m_selections.SlotSelections(), folder = m_settings.programFolder,
                        titles = m_titles.get()] { return CercaNotizie(savedPage, *titles, selections, folder); });
    summary.parseMs = stepClock.elapsed();
}

// A configuration that cannot be had (endpoint down, slow, broken, an answer
// over the cap) leaves the one last applied, and the copy with it: the page
// is fetched all the same, so the results keep flowing.
void UpdateCycle::updateConfiguration(CycleReport& summary) {
    try {
        const QByteArray configuration = m_inet1.Download(
            WithPath(m_settings.configEndpoint, QLatin1StringView(kConfigurationPath)), kMaxConfigurationBytes);
        summary.configurationBytes = configuration.size();
        summary.configurationApplied = applyConfiguration(configuration);
    } catch (const std::exception& failure) {
        summary.configurationError = QString::fromLocal8Bit(failure.what());
        qCWarning(lcCycle).noquote() << "configuration not updated:" << summary.configurationError
                                     << "- the configuration last applied stays";
    }
}

std::size_t UpdateCycle::applyConfiguration(const QByteArray& configuration) {
    // The copy holds exactly the downloaded bytes; with none it holds the
    // marker line alone, which configures nothing. The lines are applied from
    // the downloaded bytes: the one copy of them the program holds.
    const std::string_view bytes(configuration.constData(), static_cast<std::size_t>(configuration.size()));
    WriteWholeFile(m_settings.programFolder / kConfigurationCopyName, bytes.empty() ? kConfigMarker : bytes);
    const ConfigReport report = LeggiConfig(bytes, m_configTargets);
    for (const std::string& reason : report.skipped)
        qCWarning(lcCycle) << "configuration line skipped:" << FromWindows1252(reason);
    return report.applied;
}

void UpdateCycle::loadLiveScorePage() {
    QString query = QLatin1StringView(kScorePageQuery);
    if (m_pageVersion)
        query += QStringLiteral("&%1=%2").arg(QLatin1StringView(kPageVersionArgument)).arg(*m_pageVersion);
    m_page->Load(WithPath(m_settings.scoreSite, QLatin1StringView(kScorePagePath), query), kWaitForPageSeconds);
}

}  // namespace caltrix
