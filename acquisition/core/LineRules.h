// The fixed rules the page parser applies to a line once its tags are gone.
#pragma once

#include <string>
#include <string_view>

namespace caltrix {

// A stripped line with the name substitutions applied ("&nbsp;" removed,
// "Inter Milan" -> "Inter", "AC Milan" -> "Milan", "AS Roma" -> "Roma",
// "L'Aquila" with the acute accent, "Maccabi Petah" -> "Maccabi P.").
std::string ProcessedLine(std::string_view stripped);
// The same into `out`, reusing its buffer.
void ProcessLine(std::string_view stripped, std::string& out);

// A stripped "class=title" line as it goes into the title list: the name
// substitutions but the last, and every apostrophe replaced by the acute accent.
std::string TitleText(std::string_view stripped);

// The line starts with a month name ("May " with its space; "March" in full).
bool IsDateLine(std::string_view line);

// The line opens a new match: a status word (Pen, Postp, Susp at the start;
// FT, AET, HT within the first four characters), a minute mark or a time at
// its start.
bool IsStatusStart(std::string_view line);

}  // namespace caltrix
