// The display of the eleven slots as one plain C++ object: their line lists,
// the slot file loader, the rotation, the interpretation, the score flashes
// and the slot clearing. The Qt edge binds its timers to the tick functions;
// tests drive them directly.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <Pannello/Pannello.h>

#include "display/core/SlotFileLoader.h"
#include "display/core/ScoreFlash.h"
#include "display/core/LineInterpreter.h"
#include "display/core/RigheVideo.h"
#include "display/core/SlotRotation.h"

namespace caltrix {

class Tabellone {
public:
    static constexpr int kSlots = RigheVideo::kSlots;

    // pannelli[k-1] and timerFlash[k-1] belong to slot k; all must be set and
    // outlive the object. The flash timers are stopped here.
    Tabellone(std::filesystem::path cartellaProgramma, const std::array<Pannello2::_Pannello*, kSlots>& pannelli,
              const std::array<FlashTimer*, kSlots>& timerFlash, RotazioneSlot::Interruttore interruttore);

    // Tick of slot k's rotation timer.
    EsitoTick TickSlot(int slot) { return m_rotazione.Tick(slot); }
    // Tick of slot k's flash timer (other numbers do nothing).
    void TickFlash(int slot) {
        if (RigheVideo::SlotValido(slot)) m_flash[slot - 1]->Tick();
    }
    // Tick of the loader's timer; a message when an existing file could not be read.
    std::optional<std::string> CaricaProssimoVideo() { return m_caricatore.CaricaProssimoVideo(); }

    // Empties the six texts of panel k and deletes lmVideo<k>.txt when it
    // exists (FileError when it cannot be deleted).
    void PulisciPannello(int slot);
    // For k in 1..11: empties the slot's stored lines, sets its count to 0,
    // then PulisciPannello(k). Other numbers do nothing.
    void ResetPannello(int slot);

    InterpreteRiga& Interprete() { return m_interprete; }
    const RigheVideo& Righe() const { return m_righe; }
    const RotazioneSlot& Rotazione() const { return m_rotazione; }
    CaricatoreVideo& Caricatore() { return m_caricatore; }
    const FlashPunteggio& Flash(int slot) const { return *m_flash[slot - 1]; }

private:
    RigheVideo m_righe;
    CaricatoreVideo m_caricatore;
    std::array<std::unique_ptr<FlashPunteggio>, kSlots> m_flash;
    InterpreteRiga m_interprete;
    RotazioneSlot m_rotazione;
};

}  // namespace caltrix
