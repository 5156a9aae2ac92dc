// Slot rotation: each tick of slot k takes the next stored line of the slot
// (positions 1..N, then the empty position N+1, then 1 again) and hands it to
// the interpretation.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "display/core/LineInterpreter.h"
#include "display/core/RigheVideo.h"

namespace caltrix {

// What one tick did.
struct EsitoTick {
    enum class Tipo {
        Mostrata,        // a line was interpreted
        Spenta,          // the slot's switch is off: panel cleared, position 0
        SenzaRiga,       // the list has no line at the position (never loaded): position 0
        Fallita,         // the interpretation failed: position 0, `errore` says why
        MarkupScartata,  // the line's score markup could not be drawn and was cleared from the
                         // panel: the position stays, so the next tick shows the next line
    };
    Tipo tipo;
    std::string errore;
};

class RotazioneSlot {
public:
    static constexpr int kSlots = RigheVideo::kSlots;
    // The slot selection store's switch of element k-1: true = slot on.
    using Interruttore = std::function<bool(int element)>;

    RotazioneSlot(const RigheVideo& righe, InterpreteRiga& interprete, Interruttore interruttore);

    // One tick of slot k (other numbers find no line). Never throws for a
    // failure of the line or the panel.
    EsitoTick Tick(int slot);

    // PosizioneRiga(k): the position shown last, 0 at start and after a reset.
    std::int16_t PosizioneRiga(int slot) const { return m_posizioni[slot - 1]; }

    // Advances `posizione` (to 1 when it has reached C or the 16-bit limit) and
    // returns the line there, or null when the list has no such position.
    static const std::string* ProssimaRiga(const RigheVideo& righe, int slot, std::int16_t& posizione);

private:
    const RigheVideo& m_righe;
    InterpreteRiga& m_interprete;
    Interruttore m_interruttore;
    std::array<std::int16_t, kSlots> m_posizioni{};
};

}  // namespace caltrix
