// How competition titles and match lines read in the result files. A
// competition's title (its area and name) stands in the result files as a
// header line, "<TITLE> ", above the competition's match lines. The page
// parser and the closing step write them so; a configuration made from a
// feed's competitions uses the same rules to name the headers it selects.
#pragma once

#include <string>
#include <string_view>

namespace caltrix {

// A match line as the slot file loader stores it: the status and the two
// sides joined by "-", padded or cut to this many characters, then the score.
inline constexpr std::size_t kTeamsWidth = 40;

// A stripped line with the name substitutions applied ("&nbsp;" removed,
// "Inter Milan" -> "Inter", "AC Milan" -> "Milan", "AS Roma" -> "Roma",
// "L'Aquila" with the acute accent, "Maccabi Petah" -> "Maccabi P.").
std::string ProcessedLine(std::string_view stripped);
// The same without copying: `stripped` itself when no name occurs in it,
// else the changed line in `buffer`.
std::string_view ProcessLine(std::string_view stripped, std::string& buffer);

// A stripped "class=title" line as it goes into the title list: the name
// substitutions but the last, and every apostrophe replaced by the acute accent.
std::string TitleText(std::string_view stripped);

// The result text after the closing substitutions (" - " -> "-", "&amp;" ->
// "&", "Regional" -> "REG.", upper case, "LEAGUE-GROUP" -> "LEAGUE-GR.",
// "REPUBLIC-GAMBRINUS" -> "REPUBLIC GAM.", " -" -> "-", apostrophe and space
// -> double quote, "TAÇA DE PORTUGAL" -> "TAÇA PORTUGAL").
std::string ClosedText(std::string resultText);

}  // namespace caltrix
