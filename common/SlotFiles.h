// What the acquisition and the display agree on. They meet only through the
// slot result files on disk: eleven slots, one file lmVideo<k>.txt each in
// the program folder, Windows-1252 lines ending with CR LF (a reader also
// ends a line at a lone CR), and the selection rule that puts a competition's
// header and match lines into a slot's file.
#pragma once

#include "common/FileNames.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace caltrix {

inline constexpr int kSlotCount = 11;

inline bool IsSlot(int slot) { return slot >= 1 && slot <= kSlotCount; }

// The selection rule. A selection string is competition fragments, each
// followed by ";"; a header is selected when, with spaces removed and upper
// cased, it contains one of the fragments treated the same way.

// Appends `text` with its spaces removed and upper-cased (Windows-1252).
void AppendCompacted(std::string_view text, std::string& out);
// The compacted fragments of a selection string: the pieces before each ";".
std::vector<std::string> SelectionFragments(std::string_view selection);
// True when one of the compacted fragments occurs in the compacted header.
bool Selects(const std::vector<std::string>& fragments, std::string_view compactedHeader);

}  // namespace caltrix
