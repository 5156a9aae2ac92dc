#include "display/SlotFileLoader.h"

#include <exception>
#include <utility>
#include <vector>

#include "common/LineFile.h"
#include "common/FileNames.h"
#include "common/Slots.h"
#include "display/LinePreparation.h"

namespace caltrix {

SlotFileLoader::SlotFileLoader(std::filesystem::path programFolder, RigheVideo& lines)
    : m_folder(std::move(programFolder)), m_lines(lines) {}

std::filesystem::path SlotFileLoader::FilePath(std::int16_t number) const { return SlotFileName(m_folder, number); }

std::optional<std::string> SlotFileLoader::CaricaProssimoVideo() {
    m_numeroVideo = m_numeroVideo >= kSlotCount ? 0 : static_cast<std::int16_t>(m_numeroVideo + 1);
    if (!EsisteFile(FilePath(m_numeroVideo))) return std::nullopt;
    return CaricaVideo(m_numeroVideo);
}

std::optional<std::string> SlotFileLoader::CaricaVideo(std::int16_t number) {
    std::vector<std::string> replaced = m_lines.Loaded(number);
    std::vector<std::size_t> sidesDashes;
    try {
        auto lines = ReadLines(FilePath(number), kMaxFileBytes);
        sidesDashes.reserve(lines.size());
        for (auto& line : lines) {
            sidesDashes.push_back(SidesDash(line));
            line = PrepareLine(line);
        }
        m_lines.Replace(number, std::move(lines));
    } catch (const std::exception& error) {
        return "slot file load skipped: " + std::string(error.what());
    }
    if (m_listener && IsSlot(number)) m_listener(number, replaced, sidesDashes);
    return std::nullopt;
}

}  // namespace caltrix
