#include "acquisition/core/LineRules.h"

#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <utility>

namespace caltrix {
namespace {

constexpr std::array<std::string_view, 11> kMonthStarts{"Janu", "Febr", "Apri", "May ", "June", "July",
                                                        "Augu", "Sept", "Octo", "Nove", "Dece"};

}  // namespace

bool IsDateLine(std::string_view line) {
    const std::string_view start = Left(line, 4);
    if (std::find(kMonthStarts.begin(), kMonthStarts.end(), start) != kMonthStarts.end()) return true;
    return start == "Marc" && line.size() > 4 && line[4] == 'h';
}

// Status words count as whole words only, so that team names such as
// Penafiel or FTC do not open a line; "Postp" and "Susp" begin no team name
// and may be spelled out ("Postponed"). An apostrophe counts only in a minute
// mark, not in a name such as M'gladbach.
bool IsStatusStart(std::string_view line) {
    return StartsWithWord(line, "Pen") || StartsWith(line, "Postp") || StartsWith(line, "Susp") ||
           StartsWithMinuteMark(line, '\'') || Contains(Left(line, 5), ":") || WordWithin(line, 4, "FT") ||
           WordWithin(line, 4, "AET") || WordWithin(line, 4, "HT");
}

}  // namespace caltrix
