// The panel's hot paths: a TestoPic write (store, notify, read the markup,
// draw it on the info strip) and one step of the vertical scroll.
#include <QApplication>

#include <benchmark/benchmark.h>

#include "Fonts.h"
#include "PannelloControl.h"

namespace {

using Pannello2::PanelTimer;
using Pannello2::Pannello;

struct PanelFixture {
    PanelFixture() : panel(Pannello2::CreateInitialisedPannello(nullptr, &host)) { panel->InitNew(); }
    ~PanelFixture() { delete panel; }
    Pannello2::PannelloHost host;
    Pannello* panel;
};

void BM_TestoPicWrite(benchmark::State& state) {
    PanelFixture fixture;
    const Pannello2::Testo markups[] = {"[14]45\" [15]1-0 [12]", ""};
    std::size_t next = 0;
    for (auto _ : state) {
        fixture.panel->SetTestoPic(markups[next]);
        next ^= 1;
    }
}
BENCHMARK(BM_TestoPicWrite);

void BM_TestoPicWritePainted(benchmark::State& state) {
    PanelFixture fixture;
    for (auto _ : state) {
        fixture.panel->SetTestoPic("[14]HT [15]2-1");
        benchmark::DoNotOptimize(fixture.panel->grab());
    }
}
BENCHMARK(BM_TestoPicWritePainted);

void BM_ScrollTick(benchmark::State& state) {
    PanelFixture fixture;
    fixture.panel->SetTesto("JUVENTUS\r\nINTER");
    fixture.panel->SetScrollTesto("MILAN\r\nROMA");
    fixture.panel->SetScrollVerticale(true);
    for (auto _ : state) {
        // One full scroll is 97 ticks; restart it when it ends.
        if (!fixture.panel->ScrollVerticale()) fixture.panel->SetScrollVerticale(true);
        fixture.panel->Tick(PanelTimer::Scroll);
    }
}
BENCHMARK(BM_ScrollTick);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Pannello2::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
