// The fixed rules by which the page parser tells dates and match starts apart
// once a line's tags are gone; its name rules are in common/ResultText.h.
#pragma once

#include <string>
#include <string_view>

namespace caltrix {

// The line starts with a month name ("May " with its space; "March" in full).
bool IsDateLine(std::string_view line);

// The line opens a new match: a status word (Pen, Postp, Susp at the start;
// FT, AET, HT within the first four characters), a minute mark or a time at
// its start.
bool IsStatusStart(std::string_view line);

}  // namespace caltrix
