// The acquisition side of the program: the invisible holder of the
// acquisition browser, the cycle timer, the title list and the update cycle.
#pragma once

#include "acquisition/qt/HttpDownloader.h"
#include "acquisition/CercaNotizie.h"
#include "acquisition/LeggiConfig.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <memory>
#include <optional>

namespace caltrix {

class LiveScorePage;
class SlotSelectionStore;

// What one cycle did, for the log and for monitoring. The configuration has
// an outcome of its own: a cycle goes on to the page without it.
struct CycleReport {
    bool completed = false;
    const char* step = "live-score page";  // the step running when the cycle failed
    QString error;                         // why it failed; empty when completed
    QString configurationError;            // why the configuration stayed as it was; empty when applied
    qsizetype configurationBytes = 0;
    std::size_t configurationApplied = 0;
    std::uintmax_t pageBytes = 0;
    qint64 saveMs = 0;
    qint64 parseMs = 0;
    ParseReport parse;
};

struct UpdateCycleSettings {
    QUrl configEndpoint;                  // the operator's endpoint; the file is <endpoint>/public/config.txt
    QUrl scoreSite;                       // the live-score site; the page is <site>/default.dll?page=soccer
    std::filesystem::path programFolder;  // configuration copy and result files
    std::filesystem::path workFolder;     // the saved page sport1
};

// The update cycle (the acquisition window frmWeb, which is never shown: the
// acquisition browser is a page without a view).
// Timer1 runs from creation; its tick starts a cycle. Cycles never
// interleave: a tick that arrives while one runs is dropped with a log line;
// a request to run now (F5, new results at the feed) runs once more right
// after it.
// The cycle's waits end as soon as what they wait for is done, but a tick
// never starts a cycle before the described length of a cycle (its waits and
// the one-second tick) has passed since the previous one started: the site
// and the endpoint see no more requests than with the full waits.
class UpdateCycle : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimer1AtCreationMs = 30000;
    static constexpr int kTimer1AfterTickMs = 1000;
    static constexpr double kWaitAfterConfigSeconds = 15.0;
    static constexpr double kWaitForPageSeconds = 15.0;
    static constexpr double kWaitAfterSaveSeconds = 2.0;
    static constexpr int kCycleLengthMs =
        static_cast<int>((kWaitAfterConfigSeconds + kWaitForPageSeconds + kWaitAfterSaveSeconds) * 1000) +
        kTimer1AfterTickMs;
    static constexpr qint64 kMaxConfigurationBytes = 1024 * 1024;

    UpdateCycle(UpdateCycleSettings settings, ConfigTargets& configTargets, SlotSelectionStore& selections,
                QObject* parent = nullptr);
    ~UpdateCycle() override;

    // One update cycle: download and apply the configuration, load the
    // live-score page, save it, parse it and write the result files. Any
    // failure ends the cycle with a log line; the previous results stay.
    // Returns false when the cycle failed or was dropped because one runs.
    bool AggiornaTelevideo();
    bool CycleRunning() const { return m_cycleRunning; }

    // Runs a cycle as soon as the event loop is back, or exactly once more
    // right after the running one. With a version the cycle asks the site for
    // that version of the page or a newer one (a feed server's versioned
    // address, which a cache in front of it serves once per version); the
    // newest asked for wins.
    void RunNow(std::optional<qint64> pageVersion = std::nullopt);

    // Timer1's interval as a design value in milliseconds (scaled by the
    // time scale when applied). Setting it restarts the count.
    void SetTimer1Interval(int designMilliseconds);
    int Timer1Interval() const { return m_timer1DesignMs; }

    // Label1: the acquisition browser's latest status text.
    void MostraStato(const QString& text);
    const QString& StatusText() const { return m_statusText; }

    const TitleList& Titles() const { return *m_titles; }

signals:
    void statusTextChanged(const QString& text);
    void cycleFinished(const caltrix::CycleReport& report);

private:
    void onTimer1();
    void runRequested();
    qint64 restOfCycle() const;
    int msUntilNextTick() const;
    void runCycle(CycleReport& summary);
    void updateConfiguration(CycleReport& summary);
    std::size_t applyConfiguration(const QByteArray& configuration);
    void loadLiveScorePage();

    UpdateCycleSettings m_settings;
    ConfigTargets& m_configTargets;
    SlotSelectionStore& m_selections;
    HttpDownloader m_inet1;
    LiveScorePage* m_page;  // the acquisition browser
    QTimer m_timer1;
    int m_timer1DesignMs = kTimer1AtCreationMs;
    QString m_statusText;
    std::unique_ptr<TitleList> m_titles;
    bool m_cycleRunning = false;
    bool m_runRequested = false;               // RunNow: a cycle is due as soon as none runs
    std::optional<qint64> m_requestedVersion;  // the page version it asks for
    std::optional<qint64> m_pageVersion;       // the page version the running cycle asks for
    int m_cycleNumber = 0;
    QElapsedTimer m_cycleStarted;
};

}  // namespace caltrix
