// Match line interpretation: each slot tick hands one stored line here, which
// writes the slot's panel (pending competition title, teams, status and score,
// flash) and mirrors it on the single-panel window when that shows the slot.
#pragma once

#include "common/Slots.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "display/ScoreChange.h"
#include "display/ScoreFlash.h"

namespace caltrix {

class LineInterpreter {
public:
    // flashes[k-1] is the flash of slot k, holding the slot's panel; all must be set.
    explicit LineInterpreter(const std::array<ScoreFlash*, kSlotCount>& flashes);

    // The single-panel window's flash (and panel); null for none.
    void SetSolo(ScoreFlash* solo) { m_solo = solo; }
    // PanSel: the slot the single-panel window shows, 0 = none.
    std::int16_t PanSel() const { return m_panSel; }
    void SetPanSel(std::int16_t slot) { m_panSel = slot; }

    // Interprets line `line` for slot k (1..11; other numbers do nothing).
    // A header's title reaches the panel at the slot's next call. A blank line,
    // or one too short to hold a score, only writes the pending title and
    // stops the flash. Panel failures (MarkupError) reach the caller after the
    // failing panel's markup was cleared; writes made before them stay.
    void InterpretaRiga(int slot, std::string_view line);

    // Shows a held score change on slot k's panel, and on the single-panel
    // window when that shows the slot: its competition's title and its line,
    // a goal with the goal mark. Panel failures as for InterpretaRiga.
    void ShowScoreChange(int slot, const ScoreChange& change);

    ScoreFlash& Flash(int slot) const { return *m_flashes[slot - 1]; }
    Pannello2::_Pannello& Panel(int slot) const { return Flash(slot).Panel(); }
    // TitoliPannello(k): the title waiting for the slot's next tick.
    const std::string& TitoliPannello(int slot) const { return m_titoliPannello[slot - 1]; }

private:
    void Mirror(int slot, std::string_view line);

    std::array<ScoreFlash*, kSlotCount> m_flashes;
    std::array<std::string, kSlotCount> m_titoliPannello{};
    ScoreFlash* m_solo = nullptr;
    std::int16_t m_panSel = 0;
};

}  // namespace caltrix
