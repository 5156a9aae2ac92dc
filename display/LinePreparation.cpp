#include "display/LinePreparation.h"

#include "common/Text1252.h"

namespace caltrix {

std::string TogliPar(std::string_view text) {
    // The text before a removed part holds no "(", so the search for the next
    // part can go on from where the last one ended.
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (;;) {
        const auto open = text.find('(', from);
        const auto close = open == std::string_view::npos ? open : text.find(')', open + 1);
        if (close == std::string_view::npos) break;
        out.append(text.substr(from, open - from));
        from = close + 1;
    }
    out.append(text.substr(from));
    return out;
}

std::string MoveScoreToEnd(std::string_view line) {
    const auto blankLess = line.find(" <");
    const auto greaterBlank = line.find("> ");
    if (blankLess == std::string_view::npos || greaterBlank == std::string_view::npos || greaterBlank <= blankLess) {
        return std::string(line);
    }
    const auto scoreStart = blankLess + 2;
    const auto score = line.substr(scoreStart, greaterBlank - scoreStart);

    std::string out(line.substr(0, blankLess));
    out += '-';
    out.append(line.substr(greaterBlank + 2));
    out.resize(kTeamsWidth, ' ');
    out.append(score);
    return out;
}

namespace {

std::string upperCaseDoubled(std::string_view line) { return ReplaceAll(UpperCase1252(line), "&", "&&"); }

}  // namespace

std::string PrepareLine(std::string_view line) { return TogliPar(MoveScoreToEnd(upperCaseDoubled(line))); }

std::size_t SidesDash(std::string_view line) {
    const std::string doubled = upperCaseDoubled(line);
    const auto blankLess = doubled.find(" <");
    const auto greaterBlank = doubled.find("> ");
    if (blankLess == std::string::npos || greaterBlank == std::string::npos || greaterBlank <= blankLess ||
        blankLess >= kTeamsWidth)
        return std::string::npos;
    // An unclosed "(" before the dash may be closed after it, taking it along.
    const std::string before = TogliPar(std::string_view(doubled).substr(0, blankLess));
    return before.find('(') == std::string::npos ? before.size() : std::string::npos;
}

}  // namespace caltrix
