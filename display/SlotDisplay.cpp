#include "display/SlotDisplay.h"

#include <utility>

#include "common/LineFile.h"

namespace caltrix {
namespace {

std::array<std::unique_ptr<ScoreFlash>, kSlotCount> makeFlash(
    const std::array<Pannello2::_Pannello*, kSlotCount>& panels,
    const std::array<FlashTimer*, kSlotCount>& timerFlash) {
    std::array<std::unique_ptr<ScoreFlash>, kSlotCount> flash;
    for (std::size_t i = 0; i < flash.size(); ++i) {
        flash[i] = std::make_unique<ScoreFlash>(*panels[i], *timerFlash[i]);
        flash[i]->Stop();
    }
    return flash;
}

std::array<ScoreFlash*, kSlotCount> pointersTo(const std::array<std::unique_ptr<ScoreFlash>, kSlotCount>& flash) {
    std::array<ScoreFlash*, kSlotCount> pointers{};
    for (std::size_t i = 0; i < flash.size(); ++i) pointers[i] = flash[i].get();
    return pointers;
}

}  // namespace

SlotDisplay::SlotDisplay(std::filesystem::path programFolder,
                         const std::array<Pannello2::_Pannello*, kSlotCount>& panels,
                         const std::array<FlashTimer*, kSlotCount>& timerFlash, SlotRotation::SlotSwitch slotSwitch)
    : m_loader(std::move(programFolder), m_lines),
      m_flash(makeFlash(panels, timerFlash)),
      m_interpreter(pointersTo(m_flash)),
      m_rotation(m_lines, m_interpreter, std::move(slotSwitch)) {
    m_loader.SetLoadListener(
        [this](int slot, const std::vector<std::string>& replaced, const std::vector<std::size_t>& sidesDashes) {
            onLoaded(slot, replaced, sidesDashes);
        });
}

void SlotDisplay::SetGoalHold(Clock::duration hold, std::function<Clock::time_point()> now) {
    m_goalHold = hold;
    m_now = std::move(now);
}

std::string SlotDisplay::HeldGoalHeadline() const {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const auto& held = Held(slot);
        if (held && held->change.kind == ScoreChange::Kind::Goal) return held->change.TickerText();
    }
    return {};
}

std::optional<SlotDisplay::Clock::duration> SlotDisplay::UntilNextHoldEnd() const {
    std::optional<Clock::time_point> first;
    for (const GoalQueue& goals : m_goals)
        if (goals.Current() && (!first || goals.Current()->until < *first)) first = goals.Current()->until;
    if (!first) return std::nullopt;
    return std::max(*first - m_now(), Clock::duration::zero());
}

TickOutcome SlotDisplay::TickSlot(int slot) {
    if (IsSlot(slot) && Held(slot)) return {TickOutcome::Kind::Shown, {}};
    return m_rotation.Tick(slot);
}

std::vector<int> SlotDisplay::TickHolds() {
    std::vector<int> ended;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        switch (m_goals[slot - 1].Advance(m_now(), m_goalHold)) {
        case GoalQueue::Step::Next:
            showHeld(slot);
            break;
        case GoalQueue::Step::Ended:
            m_interpreter.Panel(slot).SetTitolo(m_titleBeforeHold[slot - 1]);
            ended.push_back(slot);
            break;
        case GoalQueue::Step::Holding:
        case GoalQueue::Step::Idle:
            break;
        }
    }
    return ended;
}

// The first load after start, and a match that first appears, find nothing
// to compare with: no change comes of them.
void SlotDisplay::onLoaded(int slot, const std::vector<std::string>& replaced,
                           const std::vector<std::size_t>& sidesDashes) {
    if (m_goalHold <= Clock::duration::zero() || replaced.empty() || !m_rotation.SwitchedOn(slot)) return;
    GoalQueue& goals = m_goals[slot - 1];
    for (ScoreChange& change : ScoreChanges(replaced, m_lines.Loaded(slot), sidesDashes)) {
        if (!goals.Current()) m_titleBeforeHold[slot - 1] = m_interpreter.Panel(slot).Titolo();
        if (goals.Add(std::move(change), m_now(), m_goalHold)) showHeld(slot);
    }
}

// A change is shown once, when its hold begins; a panel that cannot draw it
// keeps its strip cleared until the hold ends.
void SlotDisplay::showHeld(int slot) {
    try {
        m_interpreter.ShowScoreChange(slot, m_goals[slot - 1].Current()->change);
    } catch (const std::exception& error) {
        if (m_holdFailure) m_holdFailure(slot, error.what());
    }
}

void SlotDisplay::PulisciPannello(int slot) {
    if (!IsSlot(slot)) return;
    Pannello2::_Pannello& p = m_interpreter.Panel(slot);
    p.SetTesto("");
    p.SetFT("");
    p.SetFTTesto("");
    p.SetHT("");
    p.SetHTTesto("");
    p.SetInfoTesto("");
    const auto file = m_loader.FilePath(static_cast<std::int16_t>(slot));
    if (EsisteFile(file)) DeleteFileIfPresent(file);
}

void SlotDisplay::ResetPannello(int slot) {
    if (!IsSlot(slot)) return;
    m_lines.Clear(slot);
    m_goals[slot - 1].Clear();
    PulisciPannello(slot);
}

}  // namespace caltrix
