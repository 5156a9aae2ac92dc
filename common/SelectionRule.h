// The selection rule that puts a competition's header and match lines into a
// slot file. A selection string is competition fragments, each
// followed by ";"; a header is selected when, with spaces removed and upper
// cased, it contains one of the fragments treated the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace caltrix {

// Appends `text` with its spaces removed and upper-cased (Windows-1252).
void AppendCompacted(std::string_view text, std::string& out);
// The compacted fragments of a selection string: the pieces before each ";".
std::vector<std::string> SelectionFragments(std::string_view selection);
// True when one of the compacted fragments occurs in the compacted header.
bool Selects(const std::vector<std::string>& fragments, std::string_view compactedHeader);

}  // namespace caltrix
