#include "display/ScoreFlash.h"

#include <utility>

namespace caltrix {

ScoreFlash::ScoreFlash(Pannello2::_Pannello& panel, FlashTimer& timer) : m_panel(panel), m_timer(timer) {}

void ScoreFlash::Start(std::string markup, std::string darkMarkup) {
    m_markup = std::move(markup);
    m_darkMarkup = std::move(darkMarkup);
    m_ticks = 1;
    m_panel.HTFisso();
    m_timer.Start();
}

void ScoreFlash::Tick() {
    ++m_ticks;
    m_panel.SetTestoPic(m_ticks % 2 == 1 ? m_markup : m_darkMarkup);
}

}  // namespace caltrix
