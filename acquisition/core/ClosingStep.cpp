#include "acquisition/core/ClosingStep.h"

#include "common/LineFile.h"

#include <optional>
#include <system_error>

namespace caltrix {
namespace {

std::filesystem::path WriteOnce(const std::string& combinedText, const std::array<std::string, kSlotCount>& slotTexts,
                                const std::filesystem::path& programFolder, const std::filesystem::path& savedPage) {
    const std::filesystem::path combined = ChooseCombinedFile(programFolder);
    WriteFileAtomically(combined, combinedText);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        WriteSlotFile(SlotFileName(programFolder, slot), slotTexts[slot - 1]);
    }
    DeleteFileIfPresent(savedPage);
    return combined;
}

}  // namespace

std::filesystem::path ChooseCombinedFile(const std::filesystem::path& programFolder) {
    std::optional<std::filesystem::file_time_type> oldestTime;
    std::filesystem::path oldest;
    for (int n = 1; n <= kCombinedFileLimit; ++n) {
        const auto candidate = CombinedFileName(programFolder, n);
        if (!EsisteFile(candidate)) return candidate;
        std::error_code error;
        const auto written = std::filesystem::last_write_time(candidate, error);
        if (!error && (!oldestTime || written < *oldestTime)) {
            oldestTime = written;
            oldest = candidate;
        }
    }
    if (!oldestTime) throw FileError("no combined result file can be chosen in " + programFolder.string());
    return oldest;
}

std::filesystem::path WriteResultFiles(std::string_view closedText,
                                       const std::array<std::string, kSlotCount>& selections,
                                       const std::filesystem::path& programFolder,
                                       const std::filesystem::path& savedPage) {
    std::string combinedText(closedText);
    combinedText.append("\r\n");
    // The slot texts depend only on the combined text, which a retry writes again unchanged.
    const auto slotTexts = SlotFileTexts(combinedText, selections);
    try {
        return WriteOnce(combinedText, slotTexts, programFolder, savedPage);
    } catch (const FileError&) {
        return WriteOnce(combinedText, slotTexts, programFolder, savedPage);
    }
}

}  // namespace caltrix
