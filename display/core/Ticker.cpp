#include "display/core/Ticker.h"

namespace caltrix {

std::string Ticker::Window() const {
    const auto start = static_cast<std::size_t>(m_stringaStart > 0 ? m_stringaStart - 1 : 0);
    return start < m_stringa.size() ? m_stringa.substr(start, kWindowWidth) : std::string();
}

void Ticker::Step(const std::function<void()>& processEvents, const std::function<void(const std::string&)>& show) {
    const auto length = static_cast<long long>(m_stringa.size());
    processEvents();
    show(Window());
    ++m_stringaStart;
    processEvents();
    if (m_stringaStart > length - 1) m_stringaStart = 1;
}

}  // namespace caltrix
