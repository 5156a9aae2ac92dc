#include "acquisition/LineRules.h"

#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace caltrix {
namespace {

// The first four bytes of a line as one number.
constexpr std::uint32_t FourBytes(std::string_view text) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(text[i]);
    return value;
}

constexpr std::array<std::uint32_t, 11> kMonthStarts{
    FourBytes("Janu"), FourBytes("Febr"), FourBytes("Apri"), FourBytes("May "), FourBytes("June"), FourBytes("July"),
    FourBytes("Augu"), FourBytes("Sept"), FourBytes("Octo"), FourBytes("Nove"), FourBytes("Dece")};

}  // namespace

bool IsDateLine(std::string_view line) {
    if (line.size() < 4) return false;
    const std::uint32_t start = FourBytes(line);
    if (std::find(kMonthStarts.begin(), kMonthStarts.end(), start) != kMonthStarts.end()) return true;
    return start == FourBytes("Marc") && line.size() > 4 && line[4] == 'h';
}

// Status words count as whole words only, so that team names such as
// Penafiel or FTC do not open a line; "Postp" and "Susp" begin no team name
// and may be spelled out ("Postponed"). An apostrophe counts only in a minute
// mark, not in a name such as M'gladbach. The first bytes decide which of the
// rules can apply at all: most lines are team names that none fits.
bool IsStatusStart(std::string_view line) {
    const std::string_view head = Left(line, 5);
    if (head.find(':') != std::string_view::npos) return true;
    if (head.find('T') != std::string_view::npos &&
        (WordWithin(line, 4, "FT") || WordWithin(line, 4, "AET") || WordWithin(line, 4, "HT"))) {
        return true;
    }
    const char first = line.empty() ? '\0' : line.front();
    if (first == 'P') return StartsWithWord(line, "Pen") || StartsWith(line, "Postp");
    if (first == 'S') return StartsWith(line, "Susp");
    return (first == ' ' || (first >= '0' && first <= '9')) && StartsWithMinuteMark(line, '\'');
}

}  // namespace caltrix
