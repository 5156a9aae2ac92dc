#include "display/Ticker.h"

namespace caltrix {

std::string Ticker::Padded(std::string_view text) {
    const std::string margin(kMargin, ' ');
    return margin + std::string(text) + margin;
}

void Ticker::PadDesignText() {
    const std::string margin(kDesignMargin, ' ');
    m_stringa = margin + m_stringa + margin;
    m_stringaStart = 1;
}

void Ticker::Interrupt(std::string text) {
    m_interruption = std::move(text);
    m_stringaStart = 1;
}

void Ticker::EndInterruption() {
    if (!m_interruption) return;
    m_interruption.reset();
    m_stringaStart = 1;
}

void Ticker::NameHeldGoal(const std::string& headline) {
    if (headline == m_heldGoal) return;
    m_heldGoal = headline;
    if (headline.empty())
        EndInterruption();
    else
        Interrupt(Padded(headline));
}

std::string Ticker::Window() const {
    const auto start = static_cast<std::size_t>(m_stringaStart > 0 ? m_stringaStart - 1 : 0);
    return start < Shown().size() ? Shown().substr(start, kWindowWidth) : std::string();
}

void Ticker::Step(const std::function<void()>& processEvents, const std::function<void(const std::string&)>& show) {
    const auto length = static_cast<long long>(Shown().size());
    processEvents();
    show(Window());
    ++m_stringaStart;
    processEvents();
    if (m_stringaStart > length - 1) m_stringaStart = 1;
}

}  // namespace caltrix
