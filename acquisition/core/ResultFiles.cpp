#include "acquisition/core/ResultFiles.h"

#include "common/LineFile.h"
#include "common/Text1252.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>
#include <vector>

namespace caltrix {
namespace {

// The slot result file texts of several selections in one walk over the
// combined text, so each header is compacted once for all of them.
std::vector<std::string> SlotTextsFor(std::string_view combined, std::span<const std::string> selections) {
    std::vector<std::vector<std::string>> fragments;
    for (const std::string& selz : selections) fragments.push_back(SelectionFragments(selz));
    std::vector<std::string> texts(selections.size());
    std::vector<char> keep(selections.size(), false);
    std::string compactHeader;
    ForEachLine(combined, [&](std::string_view line) {
        if (TrimSpaces(line).empty()) return;
        if (line.front() == '<') {
            compactHeader.clear();
            AppendCompacted(line, compactHeader);
            for (std::size_t k = 0; k < texts.size(); ++k) keep[k] = Selects(fragments[k], compactHeader);
        }
        for (std::size_t k = 0; k < texts.size(); ++k) {
            if (!keep[k]) continue;
            texts[k].append(line);
            texts[k].append(kLineEnd);
        }
    });
    for (std::string& text : texts) text.append(kLineEnd);
    return texts;
}

// True when `path` is a regular file holding exactly `bytes` (a larger one is not read).
bool HoldsExactly(const std::filesystem::path& path, std::string_view bytes) {
    try {
        return ReadWholeFile(path, bytes.size()) == bytes;
    } catch (const FileError&) {
        return false;
    }
}

}  // namespace

std::filesystem::path CombinedFileName(const std::filesystem::path& programFolder, int n) {
    return programFolder / ("video" + std::to_string(n) + ".txt");
}

std::string SlotFileText(std::string_view combined, std::string_view selz) {
    const std::string selection(selz);
    return std::move(SlotTextsFor(combined, std::span(&selection, 1)).front());
}

std::array<std::string, kSlotCount> SlotFileTexts(std::string_view combined,
                                                  const std::array<std::string, kSlotCount>& selections) {
    std::vector<std::string> texts = SlotTextsFor(combined, selections);
    std::array<std::string, kSlotCount> out;
    std::move(texts.begin(), texts.end(), out.begin());
    return out;
}

void ScriviNuovoOutput(std::string_view combined, std::string_view selz, const std::filesystem::path& slotFile) {
    WriteSlotFile(slotFile, SlotFileText(combined, selz));
}

void WriteSlotFile(const std::filesystem::path& slotFile, std::string_view text) {
    if (HoldsExactly(slotFile, text)) return;
    WriteFileAtomically(slotFile, text);
}

}  // namespace caltrix
