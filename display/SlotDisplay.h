// The display of the eleven slots as one plain C++ object: their line lists,
// the slot file loader, the rotation, the interpretation, the score flashes,
// the held goals and the slot clearing. The Qt edge binds its timers to the tick functions;
// tests drive them directly.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Pannello/Pannello.h>

#include "display/GoalQueue.h"
#include "display/SlotFileLoader.h"
#include "display/ScoreFlash.h"
#include "display/LineInterpreter.h"
#include "display/RigheVideo.h"
#include "display/SlotRotation.h"

namespace caltrix {

class SlotDisplay {
public:
    // panels[k-1] and timerFlash[k-1] belong to slot k; all must be set and
    // outlive the object. The flash timers are stopped here.
    SlotDisplay(std::filesystem::path programFolder, const std::array<Pannello2::_Pannello*, kSlotCount>& panels,
                const std::array<FlashTimer*, kSlotCount>& timerFlash, SlotRotation::SlotSwitch slotSwitch);

    using Clock = GoalQueue::Clock;

    // How long a goal (or a goal taken back) stays on its slot's panel; zero,
    // the default, turns goals off. `now` is the clock the holds are timed by.
    void SetGoalHold(Clock::duration hold, std::function<Clock::time_point()> now = Clock::now);
    // Told when a held change could not be drawn on its panel.
    using HoldFailure = std::function<void(int slot, const std::string& error)>;
    void SetHoldFailure(HoldFailure failure) { m_holdFailure = std::move(failure); }

    // Tick of slot k's rotation timer; while the slot holds a score change the
    // rotation waits (the outcome is then Shown).
    TickOutcome TickSlot(int slot);
    // Ends the holds that have run their time: a slot with a waiting change
    // shows it, the others are returned, for their rotation to go on at once.
    std::vector<int> TickHolds();
    // The time left until the first running hold ends; none while no slot
    // holds a change.
    std::optional<Clock::duration> UntilNextHoldEnd() const;
    // The change slot k holds, if any.
    const std::optional<GoalQueue::Held>& Held(int slot) const { return m_goals[slot - 1].Current(); }
    // The ticker's headline of the goal the lowest slot holds; empty while
    // no slot holds a goal.
    std::string HeldGoalHeadline() const;
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
    void onLoaded(int slot, const std::vector<std::string>& replaced, const std::vector<std::size_t>& sidesDashes);
    void showHeld(int slot);

    RigheVideo m_lines;
    SlotFileLoader m_loader;
    std::array<std::unique_ptr<ScoreFlash>, kSlotCount> m_flash;
    LineInterpreter m_interpreter;
    SlotRotation m_rotation;
    Clock::duration m_goalHold{};
    std::function<Clock::time_point()> m_now = Clock::now;
    HoldFailure m_holdFailure;
    std::array<GoalQueue, kSlotCount> m_goals;
    std::array<std::string, kSlotCount> m_titleBeforeHold;  // put back when the hold ends
};

}  // namespace caltrix
