#include "display/core/SlotDisplay.h"

#include <utility>

#include "common/LineFile.h"

namespace caltrix {
namespace {

std::array<std::unique_ptr<FlashPunteggio>, Tabellone::kSlots> CreaFlash(
    const std::array<Pannello2::_Pannello*, Tabellone::kSlots>& pannelli,
    const std::array<FlashTimer*, Tabellone::kSlots>& timerFlash) {
    std::array<std::unique_ptr<FlashPunteggio>, Tabellone::kSlots> flash;
    for (std::size_t i = 0; i < flash.size(); ++i) {
        flash[i] = std::make_unique<FlashPunteggio>(*pannelli[i], *timerFlash[i]);
        flash[i]->Ferma();
    }
    return flash;
}

std::array<FlashPunteggio*, Tabellone::kSlots> Puntatori(
    const std::array<std::unique_ptr<FlashPunteggio>, Tabellone::kSlots>& flash) {
    std::array<FlashPunteggio*, Tabellone::kSlots> puntatori{};
    for (std::size_t i = 0; i < flash.size(); ++i) puntatori[i] = flash[i].get();
    return puntatori;
}

}  // namespace

Tabellone::Tabellone(std::filesystem::path cartellaProgramma, const std::array<Pannello2::_Pannello*, kSlots>& pannelli,
                     const std::array<FlashTimer*, kSlots>& timerFlash, RotazioneSlot::Interruttore interruttore)
    : m_caricatore(std::move(cartellaProgramma), m_righe),
      m_flash(CreaFlash(pannelli, timerFlash)),
      m_interprete(Puntatori(m_flash)),
      m_rotazione(m_righe, m_interprete, std::move(interruttore)) {}

void Tabellone::PulisciPannello(int slot) {
    if (!RigheVideo::SlotValido(slot)) return;
    Pannello2::_Pannello& p = m_interprete.Pannello(slot);
    p.SetTesto("");
    p.SetFT("");
    p.SetFTTesto("");
    p.SetHT("");
    p.SetHTTesto("");
    p.SetInfoTesto("");
    const auto file = m_caricatore.PercorsoFile(static_cast<std::int16_t>(slot));
    if (EsisteFile(file)) DeleteFileIfPresent(file);
}

void Tabellone::ResetPannello(int slot) {
    if (!RigheVideo::SlotValido(slot)) return;
    m_righe.Azzera(slot);
    PulisciPannello(slot);
}

}  // namespace caltrix
