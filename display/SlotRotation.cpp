#include "display/SlotRotation.h"

#include <exception>
#include <limits>
#include <utility>

#include <Pannello/Pannello.h>

namespace caltrix {

SlotRotation::SlotRotation(const RigheVideo& lines, LineInterpreter& interpreter, SlotSwitch slotSwitch)
    : m_lines(lines), m_interpreter(interpreter), m_slotSwitch(std::move(slotSwitch)) {}

const std::string* SlotRotation::NextLine(const RigheVideo& lines, int slot, std::int16_t& position) {
    if (position >= lines.Count(slot) || position == std::numeric_limits<std::int16_t>::max()) position = 0;
    ++position;
    return lines.Line(slot, position);
}

TickOutcome SlotRotation::Tick(int slot) {
    if (!IsSlot(slot)) return {TickOutcome::Kind::NoLine, {}};
    std::int16_t& position = m_positions[slot - 1];
    try {
        if (!m_slotSwitch(slot - 1)) {
            m_interpreter.Panel(slot).Pulisci();
            position = 0;
            return {TickOutcome::Kind::SwitchedOff, {}};
        }
        const std::string* line = NextLine(m_lines, slot, position);
        if (line == nullptr) {
            position = 0;
            return {TickOutcome::Kind::NoLine, {}};
        }
        m_interpreter.InterpretaRiga(slot, *line);
        return {TickOutcome::Kind::Shown, {}};
    } catch (const Pannello2::MarkupError& error) {
        // The panel no longer holds the undrawable markup: the next tick shows the next line.
        return {TickOutcome::Kind::MarkupDropped, error.what()};
    } catch (const std::exception& error) {
        position = 0;
        return {TickOutcome::Kind::Failed, error.what()};
    }
}

}  // namespace caltrix
