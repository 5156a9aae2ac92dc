#include "display/core/Ticker.h"

namespace caltrix {

void Ticker::Interrupt(std::string text) {
    m_interruption = std::move(text);
    m_stringaStart = 1;
}

void Ticker::EndInterruption() {
    if (!m_interruption) return;
    m_interruption.reset();
    m_stringaStart = 1;
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
