#include "acquisition/AcquisitionWindow.h"

#include "acquisition/OffUiThread.h"
#include "acquisition/SaveWebBrowser.h"
#include "acquisition/SharedProfile.h"
#include "acquisition/core/PageCheck.h"
#include "common/qt/Attendi.h"
#include "common/qt/Logging.h"
#include "common/qt/SlotSelectionStore.h"
#include "common/qt/Text1252Qt.h"
#include "common/qt/TimeScale.h"
#include "common/LineFile.h"

#include <malloc.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

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

// The engine's error texts carry markup for its error page.
QString PlainText(QString text) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return text.remove(tag).simplified();
}

std::uintmax_t FileSize(const std::filesystem::path& file) {
    std::error_code ignored;
    const std::uintmax_t size = std::filesystem::file_size(file, ignored);
    return ignored ? 0 : size;
}

}  // namespace


AcquisitionWindow::AcquisitionWindow(AcquisitionSettings settings, ConfigTargets& configTargets,
                                     SlotSelectionStore& selections, QObject* parent)
    : QObject(parent),
      m_settings(std::move(settings)),
      m_configTargets(configTargets),
      m_selections(selections),
      m_combo1(std::make_unique<TitleList>()) {
    createPage();
    connect(&m_timer1, &QTimer::timeout, this, &AcquisitionWindow::onTimer1);
    SetTimer1Interval(kTimer1AtCreationMs);
    m_timer1.start();
}

AcquisitionWindow::~AcquisitionWindow() = default;

void AcquisitionWindow::SetTimer1Interval(int designMilliseconds) {
    m_timer1DesignMs = designMilliseconds;
    m_timer1.setInterval(ScaledMilliseconds(designMilliseconds));
}

void AcquisitionWindow::MostraStato(const QString& text) {
    if (text == m_label1) return;
    m_label1 = text;
    emit statusTextChanged(text);
}

void AcquisitionWindow::onTimer1() {
    if (m_cycleRunning) {
        qCInfo(lcCycle) << "cycle timer ticked while cycle" << m_cycleNumber << "runs: tick dropped";
        return;
    }
    // The next tick counts from the end of this cycle, one second later.
    m_timer1.stop();
    SetTimer1Interval(kTimer1AfterTickMs);
    AggiornaTelevideo();
    m_timer1.start();
}

bool AcquisitionWindow::AggiornaTelevideo() {
    if (m_cycleRunning) {
        qCInfo(lcCycle) << "update requested while cycle" << m_cycleNumber << "runs: request dropped";
        return false;
    }
    m_cycleRunning = true;
    const int cycle = ++m_cycleNumber;
    QElapsedTimer clock;
    clock.start();
    CycleReport summary;
    try {
        runCycle(summary);
        summary.completed = true;
        qCInfo(lcCycle).nospace().noquote() << "cycle " << cycle << " done in " << clock.elapsed() << " ms: configuration "
                                  << summary.configBytes << " bytes (" << summary.configApplied
                                  << " lines applied), page " << summary.pageBytes << " bytes saved in "
                                  << summary.saveMs << " ms, parsed in " << summary.parseMs << " ms: "
                                  << summary.parse.matches << " matches in " << summary.parse.competitions
                                  << " competitions, written "
                                  << (summary.parse.pageFound
                                          ? QString::fromStdString(summary.parse.combinedFile.filename().string()) +
                                                QStringLiteral(" and the 11 slot files")
                                          : QStringLiteral("nothing (no saved page)"));
    } catch (const std::exception& failure) {
        summary.error = QString::fromLocal8Bit(failure.what());
        qCWarning(lcCycle).nospace().noquote() << "cycle " << cycle << " failed after " << clock.elapsed() << " ms at the "
                                     << summary.step << ": " << failure.what() << "; previous results kept";
    }
    m_cycleRunning = false;
    // A cycle briefly holds the whole page several times over (the engine's
    // markup, the saved bytes, the parse); give the freed heap back to the
    // system so a month of cycles does not keep the largest page's peak.
    malloc_trim(0);
    emit cycleFinished(summary);
    return summary.completed;
}

void AcquisitionWindow::runCycle(CycleReport& summary) {
    qCDebug(lcCycle) << "cycle" << m_cycleNumber << "started";
    summary.step = "configuration download";
    const QByteArray configuration =
        m_inet1.Download(WithPath(m_settings.configEndpoint, QStringLiteral("/public/config.txt")));
    summary.configBytes = configuration.size();
    Attendi(kWaitAfterConfigSeconds);

    summary.step = "configuration";
    summary.configApplied = applyConfiguration(configuration);

    summary.step = "live-score page";
    loadLiveScorePage();

    summary.step = "page saving";
    const std::filesystem::path savedPage = m_settings.workFolder / "sport1";
    QElapsedTimer stepClock;
    stepClock.start();
    try {
        SaveWebBrowser(*m_webBrowser1, savedPage, true);
    } catch (...) {
        recyclePage();
        throw;
    }
    recyclePage();
    summary.saveMs = stepClock.elapsed();
    summary.pageBytes = FileSize(savedPage);
    // A page still loading is saved as far as it came; one of which nothing
    // came at all (a site that does not answer) would only blank every slot.
    if (m_pageLoad != PageLoad::Loaded && summary.pageBytes == 0) {
        DeleteFileIfPresent(savedPage);
        throw CycleError("nothing of the live-score page arrived within the wait");
    }
    // Garbage, an empty body or an error page would blank every slot: keep
    // the last results instead.
    if (!LooksLikeLiveScorePage(ReadWholeFile(savedPage))) {
        DeleteFileIfPresent(savedPage);
        throw CycleError("the saved page is not a live-score page (no competition header, no closing marker)");
    }
    Attendi(kWaitAfterSaveSeconds);

    summary.step = "parse";
    // The parse runs off the user-interface thread on its own copies; the
    // title list is touched by nothing else while a cycle runs.
    stepClock.restart();
    summary.parse = RunOffUiThread([savedPage, selections = m_selections.SlotSelections(),
                                    folder = m_settings.programFolder, titles = m_combo1.get()] {
        return CercaNotizie(savedPage, *titles, selections, folder);
    });
    summary.parseMs = stepClock.elapsed();
}

std::size_t AcquisitionWindow::applyConfiguration(const QByteArray& configuration) {
    // The copy holds exactly the downloaded bytes; with none it holds the
    // marker line alone, which configures nothing.
    const std::filesystem::path copy = m_settings.programFolder / "qesa.ris";
    WriteWholeFile(copy, configuration.isEmpty() ? kConfigMarker
                                                 : std::string_view(configuration.constData(),
                                                                    static_cast<std::size_t>(configuration.size())));
    const ConfigReport report = LeggiConfig(copy, m_configTargets);
    for (const std::string& reason : report.skipped)
        qCWarning(lcCycle) << "configuration line skipped:" << FromWindows1252(reason);
    if (!report.readToEnd) throw CycleError("the configuration copy was not read to its end");
    return report.applied;
}

void AcquisitionWindow::createPage() {
    m_webBrowser1 = new QWebEnginePage(AcquisitionProfile(), this);
    m_webBrowser1->setAudioMuted(true);
    ReloadAfterRendererCrash(m_webBrowser1);
    connect(m_webBrowser1, &QWebEnginePage::loadingChanged, this, &AcquisitionWindow::onLoadingChanged);
    connect(m_webBrowser1, &QWebEnginePage::loadProgress, this,
            [this](int percent) { MostraStato(QStringLiteral("%1% of %2").arg(percent).arg(m_webBrowser1->url().toDisplayString())); });
    connect(m_webBrowser1, &QWebEnginePage::titleChanged, this, &AcquisitionWindow::MostraStato);
    connect(m_webBrowser1, &QWebEnginePage::renderProcessTerminated, this, &AcquisitionWindow::onRendererEnded);
}

// Replaces the acquisition page by a fresh one once its markup is saved. Its
// renderer process ends with it, and with the process every byte the page
// held: a renderer keeps the memory of a page of many megabytes long after
// it has moved on to a small one, and a display runs for months.
void AcquisitionWindow::recyclePage() {
    m_webBrowser1->disconnect(this);
    m_webBrowser1->deleteLater();
    createPage();
}

void AcquisitionWindow::loadLiveScorePage() {
    m_pageLoad = PageLoad::Requested;
    m_pageError.clear();
    m_webBrowser1->setUrl(WithPath(m_settings.scoreSite, QStringLiteral("/default.dll"), QStringLiteral("page=soccer")));
    QCoreApplication::processEvents();
    Attendi(kWaitForPageSeconds);
    switch (m_pageLoad) {
    case PageLoad::Failed:
        throw CycleError(("the page did not load: " + m_pageError).toStdString());
    case PageLoad::Requested:
    case PageLoad::Loading:
        // Stopping keeps what has arrived and frees the renderer from
        // parsing the rest, so the save does not queue behind it.
        qCInfo(lcCycle) << "the live-score page has not finished loading; stopped, saving what the browser holds";
        m_webBrowser1->triggerAction(QWebEnginePage::Stop);
        break;
    case PageLoad::Loaded:
        break;
    }
}

void AcquisitionWindow::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    const bool httpError =
        info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain && info.errorCode() >= 400;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        m_pageLoad = PageLoad::Loading;
        MostraStato(QStringLiteral("Opening ") + info.url().toDisplayString());
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
    case QWebEngineLoadingInfo::LoadFailedStatus:
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus || info.isErrorPage() || httpError) {
            m_pageLoad = PageLoad::Failed;
            m_pageError = QStringLiteral("error %1: %2").arg(info.errorCode()).arg(PlainText(info.errorString()));
            MostraStato(QStringLiteral("Error: ") + m_pageError);
        } else {
            m_pageLoad = PageLoad::Loaded;
            MostraStato(QStringLiteral("Done"));
        }
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        break;
    }
}

void AcquisitionWindow::onRendererEnded() {
    m_pageLoad = PageLoad::Failed;
    m_pageError = QStringLiteral("the renderer process ended");
    MostraStato(QStringLiteral("Error: ") + m_pageError);
}

}  // namespace caltrix
