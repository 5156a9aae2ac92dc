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
    {"L'Aquila", "L\xB4" "Aquila"},
    {"Maccabi Petah", "Maccabi P."},
}};
constexpr std::size_t kTitleSubstitutions = 5;

constexpr std::array<std::string_view, 11> kMonthStarts{
    "Janu", "Febr", "Apri", "May ", "June", "July", "Augu", "Sept", "Octo", "Nove", "Dece"};

std::string Substitute(std::string_view text, std::size_t count) {
    std::string out(text);
    for (std::size_t i = 0; i < count; ++i) {
        const auto& [from, to] = kNameSubstitutions[i];
        if (Contains(out, from)) out = ReplaceAll(out, from, to);
    }
    return out;
}

}  // namespace

std::string ProcessedLine(std::string_view stripped) {
    return Substitute(stripped, kNameSubstitutions.size());
}

std::string TitleText(std::string_view stripped) {
    std::string title = Substitute(stripped, kTitleSubstitutions);
    std::replace(title.begin(), title.end(), '\'', '\xB4');
    return title;
}

bool IsDateLine(std::string_view line) {
    const std::string_view start = Left(line, 4);
    if (std::find(kMonthStarts.begin(), kMonthStarts.end(), start) != kMonthStarts.end()) return true;
    return start == "Marc" && line.size() > 4 && line[4] == 'h';
}

bool IsStatusStart(std::string_view line) {
    const std::string_view four = Left(line, 4);
    return four == "Post" || four == "Susp" || StartsWith(line, "Pen") || Contains(four, "'") ||
           Contains(Left(line, 5), ":") || Contains(four, "FT") || Contains(four, "AET") || Contains(four, "HT");
}

}  // namespace caltrix
