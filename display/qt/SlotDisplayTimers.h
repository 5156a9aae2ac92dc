// The slot display bound to the user-interface thread: eleven rotation timers
// (3000 ms for slot 1, 4000 ms for the others) and eleven score flash timers
// (500 ms, stopped until a running match starts one) driving the plain C++
// SlotDisplay, and a timer that ends each goal hold when it is due (and stays
// stopped while nothing is held). Failures are logged, never shown; a line
// whose score markup cannot be drawn is logged once, not at every pass of the
// rotation.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include <QObject>
#include <QTimer>

#include <Pannello/Pannello.h>

#include "display/qt/QtFlashTimer.h"
#include "display/SlotDisplay.h"

namespace caltrix {

class SlotDisplayTimers : public QObject {
    Q_OBJECT

public:
    // panels[k-1] is the panel of slot k and must outlive this object;
    // `slotSwitch` reads the slot selection store's switch of element k-1.
    // The rotation timers start at once, the flash timers stay stopped.
    SlotDisplayTimers(const std::filesystem::path& programFolder,
                      const std::array<Pannello2::_Pannello*, kSlotCount>& panels, SlotRotation::SlotSwitch slotSwitch,
                      QObject* parent = nullptr);
    ~SlotDisplayTimers() override;

    // Loads the next slot file (the 4000 ms loader tick and the end of
    // start-up); a file that cannot be read is skipped with a warning.
    void CaricaProssimoVideo();
    // Loads the slot file of slot k now, when it exists; false when it does not
    // or cannot be read (with a warning).
    bool LoadSlotFile(int slot);

    // Holds each new goal on its slot's panel for `seconds` (scaled by the
    // time scale); 0, the default, turns goals off.
    void SetGoalHold(double seconds);

    // PanSel: the slot mirrored in the single-panel window, 0 = none.
    void SetPanSel(std::int16_t slot) { m_display->Interpreter().SetPanSel(slot); }
    std::int16_t PanSel() const { return m_display->Interpreter().PanSel(); }
    // The single-panel window's flash (its panel, PoggiaFlash and timer); null for none.
    void AttachSolo(ScoreFlash* solo) { m_display->Interpreter().SetSolo(solo); }

    // The timer ticks, callable directly (tests, demos).
    void TickSlot(int slot);
    void TickFlash(int slot);
    void TickHolds();

    SlotDisplay& Core() { return *m_display; }
    const QTimer& SlotTimer(int slot) const { return *m_slotTimers[slot - 1]; }
    const QtFlashTimer& TimerFlash(int slot) const { return *m_timerFlash[slot - 1]; }
    const QTimer& HoldTimer() const { return m_holdTimer; }

private:
    void armHoldTimer();

    std::array<std::unique_ptr<QtFlashTimer>, kSlotCount> m_timerFlash;
    std::unique_ptr<SlotDisplay> m_display;
    std::array<std::unique_ptr<QTimer>, kSlotCount> m_slotTimers;
    QTimer m_holdTimer;
    std::array<std::set<std::string>, kSlotCount> m_markupErrorsLogged;
};

}  // namespace caltrix
