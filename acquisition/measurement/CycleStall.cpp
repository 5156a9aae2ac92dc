// Measures how long the user interface stalls during update cycles on a
// large live-score page: a 10 ms timer runs throughout and the longest gap
// between its ticks is printed per cycle. Usage: caltrix-cycle-stall
// [page megabytes = 5] [cycles = 3] [time scale = 0.1]. After each cycle it
// also prints the program's own resident memory, so what a large page leaves
// behind in this process shows cycle by cycle.
#include "acquisition/measurement/ProcessMemory.h"
#include "acquisition/measurement/ToolPages.h"
#include "acquisition/UpdateCycle.h"
#include "common/SlotSelectionStore.h"
#include "common/qt/TimeScale.h"
#include "common/HeapPolicy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include <cstdio>

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
    caltrix::tools::PageServer server(
        {{QStringLiteral("/public/config.txt"), "01=COUNTRY1;COUNTRY7;\r\n02=LEAGUE;\r\n"},
         {QStringLiteral("/default.dll"), page}});
    QTemporaryDir programFolder;
    QTemporaryDir workFolder;
    caltrix::SlotSelectionStore store;
    NoControls controls(store);
    caltrix::UpdateCycle window(
        {server.Url(), server.Url(), programFolder.path().toStdString(), workFolder.path().toStdString()}, controls,
        store);

    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    ticker.start(10);
    std::printf("page %lld bytes, time scale %g\n", static_cast<long long>(page.size()), caltrix::TimeScale());
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        longestGap = 0;
        sinceTick.start();
        QElapsedTimer duration;
        duration.start();
        const bool completed = window.AggiornaTelevideo();
        std::printf("cycle %d: %s in %lld ms, longest gap between 10 ms ticks %lld ms, RSS %ld MB\n", cycle,
                    completed ? "completed" : "failed", static_cast<long long>(duration.elapsed()),
                    static_cast<long long>(longestGap), ResidentMegabytes());
    }
    return 0;
}
