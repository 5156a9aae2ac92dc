// Arbitrary bytes taken as a provider's answer, through every source reader,
// the reading of error answers, and the page writer behind them: each ends
// with a model or an error, and every model becomes a page.
#include "feed/model/PageWriter.h"
#include "feed/sources/ApiFootballReader.h"
#include "feed/sources/ErrorAnswer.h"
#include "feed/sources/FootballDataReader.h"
#include "feed/sources/MatchJsonReader.h"
#include "feed/sources/OpenLigaDbReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace std::chrono;

// Bodies beyond this size only slow the fuzzer down.
constexpr std::size_t kMaxInput = 256 * 1024;

const sys_seconds kNow = sys_days(2026y / December / 7) + 20h;

seconds twoHoursAhead(sys_seconds) { return 2h; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) return 0;
    const QByteArray body(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    using Reader = caltrix::feed::SourceResult (*)(const QByteArray&);
    for (Reader read : {Reader(caltrix::feed::ReadFootballData), Reader(caltrix::feed::ReadApiFootball),
                        Reader(caltrix::feed::ReadMatchJson),
                        Reader([](const QByteArray& body) { return caltrix::feed::ReadOpenLigaDb(body, kNow); })}) {
        const caltrix::feed::SourceResult result = read(body);
        if (result.model.has_value() == result.error.empty()) continue;
        if (!result.model) std::abort();  // neither a model nor an error
        if (caltrix::feed::WritePage(*result.model, kNow, twoHoursAhead).empty()) std::abort();
    }
    if (caltrix::feed::ReadErrorAnswer(403, body, true).error.size() > 300) std::abort();
    return 0;
}
