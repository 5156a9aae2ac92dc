#include "display/core/Ticker.h"

#include <cstdio>

namespace caltrix {

std::string Ticker::Finestra() const {
    const auto start = static_cast<std::size_t>(m_stringaStart > 0 ? m_stringaStart - 1 : 0);
    return start < m_stringa.size() ? m_stringa.substr(start, kFinestra) : std::string();
}

void Ticker::Passo(const std::function<void()>& elaboraEventi,
                   const std::function<void(const std::string&)>& mostra) {
    const auto lunghezza = static_cast<long long>(m_stringa.size());
    elaboraEventi();
    mostra(Finestra());
    ++m_stringaStart;
    elaboraEventi();
    if (m_stringaStart > lunghezza - 1) m_stringaStart = 1;
}

std::string TestoOrologio(int secondiDallaMezzanotte) {
    const int s = ((secondiDallaMezzanotte % 86400) + 86400) % 86400;
    char text[9];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return text;
}

}  // namespace caltrix
