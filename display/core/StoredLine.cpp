#include "display/core/StoredLine.h"

#include "common/Text1252.h"

namespace caltrix {
namespace {

constexpr std::size_t kPunteggio = 3;

bool IniziaConParola(std::string_view text, std::initializer_list<std::string_view> parole) {
    for (auto parola : parole) {
        if (StartsWithWord(text, parola)) return true;
    }
    return false;
}

}  // namespace

RigaPartita::RigaPartita(std::string_view riga) : m_riga(riga), m_trim(TrimSpaces(riga)) {}

std::string_view RigaPartita::Punteggio() const {
    return m_riga.size() < kPunteggio ? m_riga : m_riga.substr(m_riga.size() - kPunteggio);
}

std::string_view RigaPartita::Corpo() const {
    return m_riga.size() < kPunteggio ? std::string_view() : TrimSpaces(m_riga.substr(0, m_riga.size() - kPunteggio));
}

std::string_view RigaPartita::Squadre(std::size_t n) const {
    const auto corpo = Corpo();
    return n >= 1 && n <= corpo.size() ? corpo.substr(n - 1) : std::string_view();
}

GenereRiga RigaPartita::Genere(Variante variante) const {
    if (m_trim.empty()) return GenereRiga::Vuota;
    if (m_trim.front() == '<') return GenereRiga::Intestazione;
    if (m_riga.size() < kPunteggio) return GenereRiga::Vuota;

    // Status words count as whole words only: GETAFE, BETIS, FTC and PENAFIEL are teams.
    const bool minuto =
        (Contains(Left(m_trim, 4), "\"") && !StartsWith(m_trim, "L")) || StartsWithMinuteMark(m_trim, '"');
    if (minuto || WordWithin(m_trim, 4, "ET") || WordWithin(m_trim, 4, "AET")) return GenereRiga::InCorso;
    // POSTP and SUSP begin no team name and may be spelled out (POSTPONED).
    const bool finita = IniziaConParola(m_trim, {"FT", "AET", "PEN"}) || StartsWith(m_trim, "POSTP") ||
                        (variante == Variante::Slot && StartsWith(m_trim, "SUSP"));
    if (finita) return GenereRiga::Finita;
    if (WordWithin(m_trim, 3, "HT")) return GenereRiga::Intervallo;
    return GenereRiga::NonIniziata;
}

std::string_view RigaPartita::StatoInCorso(Variante variante) const {
    // AET as a whole word only: a running match of GAETA shows its minute.
    if (WordWithin(m_riga, m_riga.size(), "AET")) return "AET";
    if (Contains(m_riga, "POSTP")) return "POSTP";
    if (variante == Variante::Slot && Contains(m_riga, "SUSP")) return "SUSP";
    const auto quote = m_trim.find('"');
    return quote == std::string_view::npos ? std::string_view() : m_trim.substr(0, quote + 1);
}

std::string Pulisci(std::string_view testo) { return ReplaceAll(ReplaceAll(testo, "<", ""), ">", ""); }

}  // namespace caltrix
