// The live-score page parser: collects the competition titles of a saved
// page and turns its lines into the result text.
#pragma once

#include "acquisition/TitleList.h"

#include <string>
#include <string_view>

namespace caltrix {

// Adds the title of every "class=title" line of `page` to `titles`. Throws
// ParseError for such a line whose tags cannot be cut.
void CercaTitoli(std::string_view page, TitleList& titles);

// The parse loop over the lines of `page` (CR LF or a lone CR ends a line,
// a lone LF does not): from the first "class=title" line on, every stripped
// line becomes part of the result text (headers and match lines separated by
// CR LF) until a "t=new" line or the end. Throws ParseError.
std::string ResultText(std::string_view page, const TitleList& titles);

}  // namespace caltrix
