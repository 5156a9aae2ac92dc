// The live-score page parser: collects the competition titles of a saved
// page and turns its lines into the result text.
#pragma once

#include "acquisition/core/TagStripper.h"
#include "acquisition/core/TitleList.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace caltrix {

// The page's lines as views into `page`: CR LF or a lone CR ends a line, a
// lone LF does not.
std::vector<std::string_view> PageLines(std::string_view page);

// Adds the title of every "class=title" line to `titles`. Throws ParseError
// for a line whose tags cannot be cut.
void CercaTitoli(const std::vector<std::string_view>& lines, TitleList& titles, TagStripper& stripper);
// The same on the saved page; a missing page adds nothing. Throws FileError, ParseError.
void CercaTitoli(const std::filesystem::path& nomeFile, TitleList& titles);

// The parse loop: from the first "class=title" line on, every stripped line
// becomes part of the result text (headers and match lines separated by CR LF)
// until a "t=new" line or the end. Throws ParseError.
std::string ResultText(const std::vector<std::string_view>& lines, const TitleList& titles, TagStripper& stripper);

}  // namespace caltrix
