// Match line interpretation: each slot tick hands one stored line here, which
// writes the slot's panel (pending competition title, teams, status and score,
// flash) and mirrors it on the single-panel window when that shows the slot.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "display/core/ScoreFlash.h"

namespace caltrix {

class InterpreteRiga {
public:
    static constexpr int kSlots = 11;

    // flashes[k-1] is the flash of slot k, holding the slot's panel; all must be set.
    explicit InterpreteRiga(const std::array<FlashPunteggio*, kSlots>& flashes);

    // The single-panel window's flash (and panel); null for none.
    void SetSolo(FlashPunteggio* solo) { m_solo = solo; }
    // PanSel: the slot the single-panel window shows, 0 = none.
    std::int16_t PanSel() const { return m_panSel; }
    void SetPanSel(std::int16_t slot) { m_panSel = slot; }

    // Interprets line `riga` for slot k (1..11; other numbers do nothing).
    // A header's title reaches the panel at the slot's next call. A blank line,
    // or one too short to hold a score, only writes the pending title and
    // stops the flash. Panel failures (MarkupError) reach the caller after the
    // failing panel's markup was cleared; writes made before them stay.
    void InterpretaRiga(int slot, std::string_view riga);

    FlashPunteggio& Flash(int slot) const { return *m_flashes[slot - 1]; }
    Pannello2::_Pannello& Pannello(int slot) const { return Flash(slot).Pannello(); }
    // TitoliPannello(k): the title waiting for the slot's next tick.
    const std::string& TitoloPendente(int slot) const { return m_titoliPendenti[slot - 1]; }

private:
    void Rispecchia(int slot, std::string_view riga);

    std::array<FlashPunteggio*, kSlots> m_flashes;
    std::array<std::string, kSlots> m_titoliPendenti{};
    FlashPunteggio* m_solo = nullptr;
    std::int16_t m_panSel = 0;
};

}  // namespace caltrix
