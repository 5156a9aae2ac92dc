// Throughput of the page parser with its closing step on generated pages:
// realistic pages (one cell per line, many competitions) and hostile lines
// (long lines with many distinct and nested tags).
#include "acquisition/CercaNotizie.h"
#include "acquisition/TagStripper.h"
#include "common/Text1252.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>
#include <unistd.h>

namespace caltrix {
namespace {

const char* const kCountries[] = {"Italy", "Spain", "England", "Germany", "France", "Portugal", "Brazil", "Argentina"};
const char* const kTeams[] = {"Juventus", "Inter Milan", "AS Roma", "Lazio", "Real Madrid", "Sevilla",     "Arsenal",
                              "Chelsea",  "L'Aquila",    "Benfica", "Porto", "Santos",      "Boca Juniors"};
const char* const kStatuses[] = {"FT", "HT", "67'", "20:45", "Postp.", "AET", "12'"};

// A live-score page of about `size` bytes: one table cell per line.
std::string RealisticPage(std::size_t size) {
    std::mt19937 random(7);
    const auto pick = [&](const auto& items) { return items[random() % std::size(items)]; };
    std::string page = "<html><body><div class=\"header\">Live scores</div>\r\n<table class=\"scores\">\r\n";
    for (int competition = 0; page.size() < size; ++competition) {
        page += "<tr><td class=title colspan=4>" + std::string(pick(kCountries)) + " - League " +
                std::to_string(competition % 300) + "</td></tr>\r\n";
        page += "<tr><td class=\"date\">May 12</td></tr>\r\n";
        for (int match = 0; match < 10; ++match) {
            page += "<tr class=\"row\"><td class=\"status\">" + std::string(pick(kStatuses)) + "</td>\r\n";
            page += "<td class=\"home\">" + std::string(pick(kTeams)) + "&nbsp;</td>\r\n";
            page += "<td class=\"score\"><a href=\"/m/" + std::to_string(random() % 100000) + "\">" +
                    std::to_string(random() % 5) + " - " + std::to_string(random() % 5) + "</a></td>\r\n";
            page += "<td class=\"away\">" + std::string(pick(kTeams)) + "</td></tr>\r\n";
        }
    }
    return page + "</table>\r\n<div class=\"footer\"><a href=\"/x\">t=new</a></div>\r\n";
}

// One line of `size` bytes of distinct, nested and overlapping tags.
std::string HostileLine(std::size_t size) {
    std::mt19937 random(11);
    std::string line;
    while (line.size() < size) {
        const std::string n = std::to_string(random() % 50000);
        switch (random() % 6) {
        case 0:
            line += "<t" + n + ">x</t" + n + ">";
            break;
        case 1:
            line += "<a<b" + n + "<c>>>";
            break;
        case 2:
            line += "<<" + n + ">";
            break;
        case 3:
            line += "<i>" + n + "<i<i>>";
            break;
        case 4:
            line += std::string(random() % 20, '<') + "q" + n + ">";
            break;
        default:
            line += "text " + n;
            break;
        }
    }
    return line + ">";
}

class ParseFixture {
public:
    ParseFixture()
        : m_folder(std::filesystem::temp_directory_path() / ("caltrix-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(m_folder);
        m_selections = {"SERIEA;", "ITALY;", "PREMIER;LEAGUE 1;", "SPAIN;", ";;", "", "BRAZIL;", "LEAGUE 12;", "X",
                        ";",       "FRANCE;"};
    }
    ~ParseFixture() { std::filesystem::remove_all(m_folder); }

    // Parses the pages in turn: with more than one, the slot files change
    // from one parse to the next and must all be written again.
    void Run(benchmark::State& state, const std::vector<std::string>& pages) {
        const auto saved = m_folder / "sport1";
        std::size_t next = 0;
        std::int64_t bytes = 0;
        for (auto _ : state) {
            state.PauseTiming();
            const std::string& page = pages[next++ % pages.size()];
            bytes += static_cast<std::int64_t>(page.size());
            WriteWholeFile(saved, page);
            state.ResumeTiming();
            try {
                benchmark::DoNotOptimize(CercaNotizie(saved, m_titles, m_selections, m_folder));
            } catch (const ParseError&) {
                DeleteFileIfPresent(saved);
            }
            state.PauseTiming();
            for (int n = 1; n <= 3; ++n) DeleteFileIfPresent(CombinedFileName(m_folder, n));
            state.ResumeTiming();
        }
        state.SetBytesProcessed(bytes);
    }

private:
    std::filesystem::path m_folder;
    TitleList m_titles;
    std::array<std::string, kSlotCount> m_selections;
};

void BM_ParseRealisticPage(benchmark::State& state) {
    const std::string page = RealisticPage(static_cast<std::size_t>(state.range(0)));
    ParseFixture().Run(state, {page});
}
BENCHMARK(BM_ParseRealisticPage)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// The same page a minute later: every running match has moved on, so every
// slot that holds one gets a new file, as in a live cycle.
void BM_ParseChangingPage(benchmark::State& state) {
    const std::string page = RealisticPage(static_cast<std::size_t>(state.range(0)));
    ParseFixture().Run(state, {page, ReplaceAll(ReplaceAll(page, "67'", "68'"), "12'", "13'")});
}
BENCHMARK(BM_ParseChangingPage)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void BM_ParseHostilePage(benchmark::State& state) {
    const std::string page =
        "<td class=title>Italy - Serie A</td>\r\n" + HostileLine(static_cast<std::size_t>(state.range(0))) + "\r\n";
    ParseFixture().Run(state, {page});
}
BENCHMARK(BM_ParseHostilePage)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void BM_StripHostileLine(benchmark::State& state) {
    const std::string line = HostileLine(static_cast<std::size_t>(state.range(0)));
    TagStripper stripper;
    for (auto _ : state) benchmark::DoNotOptimize(stripper.Strip(line));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_StripHostileLine)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace caltrix
