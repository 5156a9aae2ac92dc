// Slot rotation: each tick of slot k takes the next stored line of the slot
// (positions 1..N, then the empty position N+1, then 1 again) and hands it to
// the interpretation.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "display/LineInterpreter.h"
#include "display/RigheVideo.h"

namespace caltrix {

// What one tick did.
struct TickOutcome {
    enum class Kind {
        Shown,          // a line was interpreted
        SwitchedOff,    // the slot's switch is off: panel cleared, position 0
        NoLine,         // the list has no line at the position (never loaded): position 0
        Failed,         // the interpretation failed: position 0, `error` says why
        MarkupDropped,  // the line's score markup could not be drawn and was cleared from the
                        // panel: the position stays, so the next tick shows the next line
    };
    Kind kind;
    std::string error;
};

class SlotRotation {
public:
    // The slot selection store's switch of element k-1: true = slot on.
    using SlotSwitch = std::function<bool(int element)>;

    SlotRotation(const RigheVideo& lines, LineInterpreter& interpreter, SlotSwitch slotSwitch);

    // One tick of slot k (other numbers find no line). Never throws for a
    // failure of the line or the panel.
    TickOutcome Tick(int slot);

    // Whether slot k's switch is on.
    bool SwitchedOn(int slot) const { return m_slotSwitch(slot - 1); }

    // PosizioneRiga(k): the position shown last, 0 at start and after a reset.
    std::int16_t PosizioneRiga(int slot) const { return m_positions[slot - 1]; }

    // Advances `position` (to 1 when it has reached C or the 16-bit limit) and
    // returns the line there, or null when the list has no such position.
    static const std::string* NextLine(const RigheVideo& lines, int slot, std::int16_t& position);

private:
    const RigheVideo& m_lines;
    LineInterpreter& m_interpreter;
    SlotSwitch m_slotSwitch;
    std::array<std::int16_t, kSlotCount> m_positions{};
};

}  // namespace caltrix
