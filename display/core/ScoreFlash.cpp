#include "display/core/ScoreFlash.h"

#include <utility>

namespace caltrix {

FlashPunteggio::FlashPunteggio(Pannello2::_Pannello& pannello, FlashTimer& timer)
    : m_pannello(pannello), m_timer(timer) {}

void FlashPunteggio::Avvia(std::string markup) {
    m_testo = std::move(markup);
    m_ticks = 1;
    m_pannello.HTFisso();
    m_timer.Start();
}

void FlashPunteggio::Tick() {
    ++m_ticks;
    m_pannello.SetTestoPic(m_ticks % 2 == 1 ? m_testo : std::string());
}

}  // namespace caltrix
