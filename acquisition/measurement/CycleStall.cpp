// Measures how long the user interface stalls during update cycles on a
// large live-score page: a 10 ms timer runs throughout and the longest gap
// between its ticks is printed per cycle, counting also the second after the
// cycle, in which the event loop does what the cycle left to it (such as
// deleting the page it has replaced), and with it the longest processor
// time the user-interface thread used between two ticks: on a busy machine
// a gap also holds time spent waiting for a processor, the processor time
// only the program's own work. Usage: caltrix-cycle-stall
// [page megabytes = 5] [cycles = 3] [time scale = 0.1]. After each cycle it
// also prints the program's own resident memory, so what a large page leaves
// behind in this process shows cycle by cycle.
#include "acquisition/measurement/ProcessMemory.h"
#include "acquisition/measurement/ToolPages.h"
#include "acquisition/qt/UpdateCycle.h"
#include "common/SlotSelectionStore.h"
#include "common/WebAddresses.h"
#include "common/qt/TimeScale.h"
#include "common/HeapPolicy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <utility>

namespace {

class NoControls : public caltrix::ConfigTargets {
public:
    explicit NoControls(caltrix::SlotSelectionStore& store) : m_store(store) {}
    void SetSelection(int element, const std::string& selection) override { m_store.SetSelection(element, selection); }
    void NavigateBanner(int, const std::string&) override {}
    void SetTicker(const std::string&) override {}
    void SetButton(int, const std::string&, const std::string&) override {}
    void Repaint() override {}

private:
    caltrix::SlotSelectionStore& m_store;
};

// Processor time the calling thread has used, in milliseconds. The work
// between two ticks is at most this much; a gap longer than it waited for a
// processor that other programs held (the machine may be shared).
double UiThreadBusyMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// This process's resident memory in MB.
long ResidentMegabytes() { return caltrix::tools::RollupKb(getpid(), "Rss:") / 1024; }

}  // namespace

int main(int argc, char** argv) {
    caltrix::ReturnLargeBlocksToTheSystem();  // as the program does
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const double megabytes = arguments.size() > 1 ? arguments.at(1).toDouble() : 5.0;
    const int cycles = arguments.size() > 2 ? arguments.at(2).toInt() : 3;
    caltrix::SetTimeScale(arguments.size() > 3 ? arguments.at(3).toDouble() : 0.1);

    const QByteArray page = caltrix::tools::LiveScorePage(static_cast<qsizetype>(megabytes * 1024 * 1024));
    caltrix::tools::PageServerThread server(
        {{QLatin1StringView(caltrix::kConfigurationPath), "01=COUNTRY1;COUNTRY7;\r\n02=LEAGUE;\r\n"},
         {QLatin1StringView(caltrix::kScorePagePath), page}});
    QTemporaryDir programFolder;
    QTemporaryDir workFolder;
    caltrix::SlotSelectionStore store;
    NoControls controls(store);
    caltrix::UpdateCycle window(
        {server.Url(), server.Url(), programFolder.path().toStdString(), workFolder.path().toStdString()}, controls,
        store);

    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    double busyAtTick = UiThreadBusyMs();
    double longestBusy = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.restart());
        const double busy = UiThreadBusyMs();
        longestBusy = std::max(longestBusy, busy - std::exchange(busyAtTick, busy));
    });
    ticker.start(10);
    // The program's first cycle comes long after start-up: the start-up's
    // own work is not counted in it.
    QEventLoop startUp;
    QTimer::singleShot(3000, &startUp, &QEventLoop::quit);
    startUp.exec();
    std::printf("page %lld bytes, time scale %g\n", static_cast<long long>(page.size()), caltrix::TimeScale());
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        longestGap = 0;
        longestBusy = 0;
        sinceTick.start();
        busyAtTick = UiThreadBusyMs();
        QElapsedTimer duration;
        duration.start();
        const bool completed = window.AggiornaTelevideo();
        const qint64 cycleMs = duration.elapsed();
        QEventLoop after;
        QTimer::singleShot(1000, &after, &QEventLoop::quit);
        after.exec();
        std::printf(
            "cycle %d: %s in %lld ms, longest gap between 10 ms ticks %lld ms, longest processor time of the "
            "user-interface thread between two ticks %.1f ms, RSS %ld MB\n",
            cycle, completed ? "completed" : "failed", static_cast<long long>(cycleMs),
            static_cast<long long>(longestGap), longestBusy, ResidentMegabytes());
    }
    return 0;
}
