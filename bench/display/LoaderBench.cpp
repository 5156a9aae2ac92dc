// The slot file loader reads one slot file every 4 seconds; these measure the
// line preparation and a whole load of a large slot file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "common/LineFile.h"
#include "display/SlotFileLoader.h"
#include "display/LinePreparation.h"

namespace {

const std::string kRiga = "45\" juventus (ita) <2-1> inter milan (ita) ";

void BM_PreparaRiga(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(caltrix::PrepareLine(kRiga));
}
BENCHMARK(BM_PreparaRiga);

void BM_CaricaVideo(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "caltrix-loader-bench";
    std::filesystem::create_directories(folder);
    std::string file;
    for (int i = 0; i < state.range(0); ++i) file += (i % 10 == 0 ? "<italy-serie a> " : kRiga) + "\r\n";
    caltrix::WriteWholeFile(folder / "lmVideo1.txt", file);

    caltrix::RigheVideo lines;
    caltrix::SlotFileLoader loader(folder, lines);
    for (auto _ : state) benchmark::DoNotOptimize(loader.CaricaVideo(1));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CaricaVideo)->Arg(200)->Arg(2000);

}  // namespace

BENCHMARK_MAIN();
