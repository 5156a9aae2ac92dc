// The combined file and the slot files: names and contents.
#pragma once

#include "common/FileNames.h"
#include "common/Slots.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace caltrix {

// The slot file's content for the combined file's content: the
// non-blank lines under the headers that the selection string selects,
// each with CR LF, then one more CR LF. The selection's fragments are the
// pieces before its last ";"; a header is selected when, spaces removed and
// upper-cased, it contains a fragment treated the same way.
std::string SlotFileText(std::string_view combined, std::string_view selz);

// The same content as pieces to be written one after the other, most of them
// views of the combined text (which must outlive them): a slot that keeps
// much of a large page costs no copy of it.
using SlotPieces = std::vector<std::string_view>;
// The pieces of the eleven slots at once (slot k from `selections[k - 1]`).
std::array<SlotPieces, kSlotCount> SlotFilePieces(std::string_view combined,
                                                  const std::array<std::string, kSlotCount>& selections);

// Replaces the slot file `slotFile` whole with the pieces, unless it
// already holds exactly that: an unchanged slot costs a read, not a new file.
// Throws FileError.
void WriteSlotFile(const std::filesystem::path& slotFile, const SlotPieces& pieces);

// Writes the slot file `slotFile` for the selection `selz` from the
// combined file's content, replacing the file whole. Throws FileError.
void ScriviNuovoOutput(std::string_view combined, std::string_view selz, const std::filesystem::path& slotFile);

}  // namespace caltrix
