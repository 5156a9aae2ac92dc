#include "acquisition/ResultFiles.h"

#include "common/LineFile.h"
#include "common/SelectionRule.h"
#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>
#include <vector>

namespace caltrix {
namespace {

// Appends `line` and CR LF to `pieces`. A line that the combined text holds
// with its CR LF right after the previous piece lengthens that piece, so a
// run of kept lines is one piece of the combined text.
void AppendLine(std::string_view combined, std::string_view line, SlotPieces& pieces) {
    const std::size_t end = static_cast<std::size_t>(line.data() - combined.data()) + line.size();
    const bool endsWithLineEnd = combined.substr(end, kLineEnd.size()) == kLineEnd;
    if (endsWithLineEnd && !pieces.empty() && pieces.back().data() + pieces.back().size() == line.data()) {
        pieces.back() = std::string_view(pieces.back().data(), pieces.back().size() + line.size() + kLineEnd.size());
    } else if (endsWithLineEnd) {
        pieces.push_back(std::string_view(line.data(), line.size() + kLineEnd.size()));
    } else {
        pieces.push_back(line);
        pieces.push_back(kLineEnd);
    }
}

// The slot file contents of several selections in one walk over the
// combined text, so each header is compacted once for all of them.
std::vector<SlotPieces> SlotPiecesFor(std::string_view combined, std::span<const std::string> selections) {
    std::vector<std::vector<std::string>> fragments;
    for (const std::string& selz : selections) fragments.push_back(SelectionFragments(selz));
    std::vector<SlotPieces> slots(selections.size());
    std::vector<char> keep(selections.size(), false);
    std::string compactHeader;
    ForEachLine(combined, [&](std::string_view line) {
        if (TrimSpaces(line).empty()) return;
        if (line.front() == '<') {
            compactHeader.clear();
            AppendCompacted(line, compactHeader);
            for (std::size_t k = 0; k < slots.size(); ++k) keep[k] = Selects(fragments[k], compactHeader);
        }
        for (std::size_t k = 0; k < slots.size(); ++k) {
            if (keep[k]) AppendLine(combined, line, slots[k]);
        }
    });
    for (SlotPieces& pieces : slots) pieces.push_back(kLineEnd);
    return slots;
}

std::string Joined(const SlotPieces& pieces) {
    std::string text;
    for (const std::string_view piece : pieces) text.append(piece);
    return text;
}

// True when `path` is a regular file holding exactly the pieces (a larger one is not read).
bool HoldsExactly(const std::filesystem::path& path, const SlotPieces& pieces) {
    try {
        const FileBytes file(path);
        std::string_view rest = file.bytes();
        for (const std::string_view piece : pieces) {
            if (rest.substr(0, piece.size()) != piece) return false;
            rest.remove_prefix(piece.size());
        }
        return rest.empty();
    } catch (const FileError&) {
        return false;
    }
}

}  // namespace

std::string SlotFileText(std::string_view combined, std::string_view selz) {
    const std::string selection(selz);
    return Joined(SlotPiecesFor(combined, std::span(&selection, 1)).front());
}

std::array<SlotPieces, kSlotCount> SlotFilePieces(std::string_view combined,
                                                  const std::array<std::string, kSlotCount>& selections) {
    std::vector<SlotPieces> slots = SlotPiecesFor(combined, selections);
    std::array<SlotPieces, kSlotCount> out;
    std::move(slots.begin(), slots.end(), out.begin());
    return out;
}

void ScriviNuovoOutput(std::string_view combined, std::string_view selz, const std::filesystem::path& slotFile) {
    const std::string selection(selz);
    WriteSlotFile(slotFile, SlotPiecesFor(combined, std::span(&selection, 1)).front());
}

void WriteSlotFile(const std::filesystem::path& slotFile, const SlotPieces& pieces) {
    if (HoldsExactly(slotFile, pieces)) return;
    WriteFileAtomically(slotFile, pieces);
}

}  // namespace caltrix
