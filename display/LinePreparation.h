// How the slot file loader prepares one line of a slot file for
// display. Plain functions on Windows-1252 bytes; any line length is handled.
#pragma once

#include "common/ResultText.h"

#include <string>
#include <string_view>

namespace caltrix {

// Removes every parenthesised part, from the first "(" to the first ")" after
// it, again and again; the blanks around it stay. A ")" without "(" before it
// stays, and so does an unclosed "(" with everything after it.
std::string TogliPar(std::string_view text);

// Moves a score cell " <score> " behind the team part: the part before the
// cell, "-", the part after it, padded with blanks or cut to 40 characters,
// then the score. A line without such a cell is returned unchanged.
std::string MoveScoreToEnd(std::string_view line);

// The whole preparation of a stored line: upper case (accented letters too),
// "&" doubled, score moved, parenthesised parts removed.
std::string PrepareLine(std::string_view line);

// Where, in PrepareLine(line), the "-" stands that joins the two sides (a
// side may hold a "-" of its own: SAINT-ÉTIENNE-NÎMES); npos for a line
// without a score cell, or when the cut or a removed part took that "-".
std::size_t SidesDash(std::string_view line);

}  // namespace caltrix
