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

class SlotDisplay {
public:
    // panels[k-1] and timerFlash[k-1] belong to slot k; all must be set and
    // outlive the object. The flash timers are stopped here.
    SlotDisplay(std::filesystem::path programFolder, const std::array<Pannello2::_Pannello*, kSlotCount>& panels,
                const std::array<FlashTimer*, kSlotCount>& timerFlash, SlotRotation::SlotSwitch slotSwitch);

    // Tick of slot k's rotation timer.
    TickOutcome TickSlot(int slot) { return m_rotation.Tick(slot); }
    // Tick of slot k's flash timer (other numbers do nothing).
    void TickFlash(int slot) {
        if (IsSlot(slot)) m_flash[slot - 1]->Tick();
    }
    // Tick of the loader's timer; a message when an existing file could not be read.
    std::optional<std::string> CaricaProssimoVideo() { return m_loader.CaricaProssimoVideo(); }

    // Empties the six texts of panel k and deletes lmVideo<k>.txt when it
    // exists (FileError when it cannot be deleted).
    void PulisciPannello(int slot);
    // For k in 1..11: empties the slot's stored lines, sets its count to 0,
    // then PulisciPannello(k). Other numbers do nothing.
    void ResetPannello(int slot);

    LineInterpreter& Interpreter() { return m_interpreter; }
    const RigheVideo& Lines() const { return m_lines; }
    const SlotRotation& Rotation() const { return m_rotation; }
    SlotFileLoader& Loader() { return m_loader; }
    const ScoreFlash& Flash(int slot) const { return *m_flash[slot - 1]; }

private:
    RigheVideo m_lines;
    SlotFileLoader m_loader;
    std::array<std::unique_ptr<ScoreFlash>, kSlotCount> m_flash;
    LineInterpreter m_interpreter;
    SlotRotation m_rotation;
};

}  // namespace caltrix
