// The score flash of one panel: while its timer runs, each tick writes the
// flash markup or the empty text to the panel's `TestoPic`, in turn.
#pragma once

#include <cstdint>
#include <string>

#include <Pannello/Pannello.h>

namespace caltrix {

// The timer behind a flash; the Qt edge supplies a 500 ms timer whose ticks
// call ScoreFlash::Tick.
class FlashTimer {
public:
    virtual ~FlashTimer() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

class ScoreFlash {
public:
    ScoreFlash(Pannello2::_Pannello& panel, FlashTimer& timer);

    Pannello2::_Pannello& Panel() const { return m_panel; }
    // The flash markup (TestiFlash of a slot, PoggiaFlash of the single-panel window).
    const std::string& Markup() const { return m_markup; }

    // Starts flashing `markup`, which the caller has just written to TestoPic:
    // stores it, makes TestoPic steady (HTFisso) and starts the timer. The
    // phase restarts lit, so the first tick shows `darkMarkup` (by default
    // the empty text, which blanks the strip).
    void Start(std::string markup, std::string darkMarkup = {});
    // Stops the timer; TestoPic stays as the last tick left it.
    void Stop() { m_timer.Stop(); }

    // One timer tick: odd tick counts show the markup, even ones the dark markup.
    // Every flash keeps its own count, so flashes never disturb each other.
    void Tick();

private:
    Pannello2::_Pannello& m_panel;
    FlashTimer& m_timer;
    std::string m_markup;
    std::string m_darkMarkup;
    std::uint64_t m_ticks = 0;
};

}  // namespace caltrix
