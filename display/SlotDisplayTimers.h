// The slot display bound to the user-interface thread: eleven rotation timers
// (3000 ms for slot 1, 4000 ms for the others) and eleven score flash timers
// (500 ms, stopped until a running match starts one) driving the plain C++
// Tabellone. Failures are logged, never shown; a line whose score markup
// cannot be drawn is logged once, not at every pass of the rotation.
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

#include "display/QtFlashTimer.h"
#include "display/core/SlotDisplay.h"

namespace caltrix {

class SchermoRisultati : public QObject {
    Q_OBJECT

public:
    static constexpr int kSlots = Tabellone::kSlots;

    // pannelli[k-1] is the panel of slot k and must outlive this object;
    // `interruttore` reads the slot selection store's switch of element k-1.
    // The rotation timers start at once, the flash timers stay stopped.
    SchermoRisultati(const std::filesystem::path& cartellaProgramma,
                     const std::array<Pannello2::_Pannello*, kSlots>& pannelli,
                     RotazioneSlot::Interruttore interruttore, QObject* parent = nullptr);
    ~SchermoRisultati() override;

    // Loads the next slot result file (the 4000 ms loader tick and the end of
    // start-up); a file that cannot be read is skipped with a warning.
    void CaricaProssimoVideo();

    // PanSel: the slot mirrored in the single-panel window, 0 = none.
    void SetPanSel(std::int16_t slot) { m_tabellone->Interprete().SetPanSel(slot); }
    std::int16_t PanSel() const { return m_tabellone->Interprete().PanSel(); }
    // The single-panel window's flash (its panel, PoggiaFlash and timer); null for none.
    void CollegaSolo(FlashPunteggio* solo) { m_tabellone->Interprete().SetSolo(solo); }

    // The timer ticks, callable directly (tests, demos).
    void TickSlot(int slot);
    void TickFlash(int slot);

    Tabellone& Core() { return *m_tabellone; }
    const QTimer& TimerSlot(int slot) const { return *m_timerSlot[slot - 1]; }
    const QtFlashTimer& TimerFlash(int slot) const { return *m_timerFlash[slot - 1]; }

private:
    std::array<std::unique_ptr<QtFlashTimer>, kSlots> m_timerFlash;
    std::unique_ptr<Tabellone> m_tabellone;
    std::array<std::unique_ptr<QTimer>, kSlots> m_timerSlot;
    std::array<std::set<std::string>, kSlots> m_erroriMarkupRegistrati;
};

}  // namespace caltrix
