#include "display/core/Ticker.h"

namespace caltrix {

std::string Ticker::Finestra() const {
    const auto start = static_cast<std::size_t>(m_stringaStart > 0 ? m_stringaStart - 1 : 0);
    return start < m_stringa.size() ? m_stringa.substr(start, kFinestra) : std::string();
}

void Ticker::Passo(const std::function<void()>& elaboraEventi, const std::function<void(const std::string&)>& mostra) {
    const auto lunghezza = static_cast<long long>(m_stringa.size());
    elaboraEventi();
    mostra(Finestra());
    ++m_stringaStart;
    elaboraEventi();
    if (m_stringaStart > lunghezza - 1) m_stringaStart = 1;
}

}  // namespace caltrix
