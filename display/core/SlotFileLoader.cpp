#include "display/core/SlotFileLoader.h"

#include <exception>
#include <utility>
#include <vector>

#include "common/LineFile.h"
#include "display/core/LinePreparation.h"

namespace caltrix {

CaricatoreVideo::CaricatoreVideo(std::filesystem::path cartellaProgramma, RigheVideo& righe)
    : m_cartella(std::move(cartellaProgramma)), m_righe(righe) {}

std::filesystem::path CaricatoreVideo::PercorsoFile(std::int16_t numero) const {
    return m_cartella / ("lmVideo" + std::to_string(numero) + ".txt");
}

std::optional<std::string> CaricatoreVideo::CaricaProssimoVideo() {
    m_numeroVideo = m_numeroVideo >= RigheVideo::kSlots ? 0 : static_cast<std::int16_t>(m_numeroVideo + 1);
    if (!EsisteFile(PercorsoFile(m_numeroVideo))) return std::nullopt;
    return CaricaVideo(m_numeroVideo);
}

std::optional<std::string> CaricatoreVideo::CaricaVideo(std::int16_t numero) {
    try {
        auto lines = ReadLines(PercorsoFile(numero), kDimensioneMassima);
        for (auto& line : lines) line = PreparaRiga(line);
        m_righe.Sostituisci(numero, std::move(lines));
    } catch (const std::exception& error) {
        return "slot file load skipped: " + std::string(error.what());
    }
    return std::nullopt;
}

}  // namespace caltrix
