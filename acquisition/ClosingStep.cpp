#include "acquisition/ClosingStep.h"

#include "common/LineFile.h"

#include <optional>
#include <system_error>

namespace caltrix {
namespace {

std::filesystem::path WriteOnce(std::string_view combinedText, const std::array<SlotPieces, kSlotCount>& slotPieces,
                                const std::filesystem::path& programFolder, const std::filesystem::path& savedPage) {
    const std::filesystem::path combined = ChooseCombinedFile(programFolder);
    WriteFileAtomically(combined, combinedText);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        WriteSlotFile(SlotFileName(programFolder, slot), slotPieces[slot - 1]);
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
    if (!oldestTime) throw FileError("no combined file can be chosen in " + programFolder.string());
    return oldest;
}

std::filesystem::path WriteResultFiles(std::string closedText, const std::array<std::string, kSlotCount>& selections,
                                       const std::filesystem::path& programFolder,
                                       const std::filesystem::path& savedPage) {
    std::string& combinedText = closedText.append(kLineEnd);
    // The slot files depend only on the combined text, which a retry writes again unchanged.
    const auto slotPieces = SlotFilePieces(combinedText, selections);
    try {
        return WriteOnce(combinedText, slotPieces, programFolder, savedPage);
    } catch (const FileError&) {
        return WriteOnce(combinedText, slotPieces, programFolder, savedPage);
    }
}

}  // namespace caltrix
