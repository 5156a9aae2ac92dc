#include "acquisition/core/LineRules.h"

#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <utility>

namespace caltrix {
namespace {

using Substitution = std::pair<std::string_view, std::string_view>;

constexpr std::array<Substitution, 6> kNameSubstitutions{{
    {"&nbsp;", ""},
    {"Inter Milan", "Inter"},
    {"AC Milan", "Milan"},
    {"AS Roma", "Roma"},
    {"L'Aquila",
     "L\xB4"
     "Aquila"},
    {"Maccabi Petah", "Maccabi P."},
}};
constexpr std::size_t kTitleSubstitutions = 5;

constexpr std::array<std::string_view, 11> kMonthStarts{"Janu", "Febr", "Apri", "May ", "June", "July",
                                                        "Augu", "Sept", "Octo", "Nove", "Dece"};

// The bytes that begin a name pattern; a line without any needs no substitution.
constexpr std::array<bool, 256> FirstBytesOf(const std::array<Substitution, 6>& substitutions) {
    std::array<bool, 256> first{};
    for (const auto& substitution : substitutions) {
        first[static_cast<unsigned char>(substitution.first.front())] = true;
    }
    return first;
}
constexpr std::array<bool, 256> kNameFirstBytes = FirstBytesOf(kNameSubstitutions);

// True when some name pattern occurs in `text` (one pass, comparing only at
// the bytes that begin a pattern).
bool HoldsAnyName(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!kNameFirstBytes[static_cast<unsigned char>(text[at])]) continue;
        const std::string_view rest = text.substr(at);
        for (const auto& substitution : kNameSubstitutions) {
            if (StartsWith(rest, substitution.first)) return true;
        }
    }
    return false;
}

// Steps 1..`count` in order into `out`; each step sees the previous one's result.
void Substitute(std::string_view text, std::size_t count, std::string& out) {
    out.assign(text);
    if (!HoldsAnyName(text)) return;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& [from, to] = kNameSubstitutions[i];
        if (Contains(out, from)) out = ReplaceAll(out, from, to);
    }
}

}  // namespace

std::string ProcessedLine(std::string_view stripped) {
    std::string out;
    ProcessLine(stripped, out);
    return out;
}

void ProcessLine(std::string_view stripped, std::string& out) { Substitute(stripped, kNameSubstitutions.size(), out); }

std::string TitleText(std::string_view stripped) {
    std::string title;
    Substitute(stripped, kTitleSubstitutions, title);
    std::replace(title.begin(), title.end(), '\'', '\xB4');
    return title;
}

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
