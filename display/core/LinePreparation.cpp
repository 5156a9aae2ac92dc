#include "display/core/LinePreparation.h"

#include "common/Text1252.h"

namespace caltrix {

std::string TogliPar(std::string_view testo) {
    // The text before a removed part holds no "(", so the search for the next
    // part can go on from where the last one ended.
    std::string out;
    out.reserve(testo.size());
    std::size_t from = 0;
    for (;;) {
        const auto open = testo.find('(', from);
        const auto close = open == std::string_view::npos ? open : testo.find(')', open + 1);
        if (close == std::string_view::npos) break;
        out.append(testo.substr(from, open - from));
        from = close + 1;
    }
    out.append(testo.substr(from));
    return out;
}

std::string SpostaPunteggio(std::string_view riga) {
    const auto blankLess = riga.find(" <");
    const auto greaterBlank = riga.find("> ");
    if (blankLess == std::string_view::npos || greaterBlank == std::string_view::npos || greaterBlank <= blankLess) {
        return std::string(riga);
    }
    const auto scoreStart = blankLess + 2;
    const auto score = riga.substr(scoreStart, greaterBlank - scoreStart);

    std::string out(riga.substr(0, blankLess));
    out += '-';
    out.append(riga.substr(greaterBlank + 2));
    out.resize(kLarghezzaSquadre, ' ');
    out.append(score);
    return out;
}

std::string PreparaRiga(std::string_view riga) {
    const std::string doubled = ReplaceAll(UpperCase1252(riga), "&", "&&");
    return TogliPar(SpostaPunteggio(doubled));
}

}  // namespace caltrix
