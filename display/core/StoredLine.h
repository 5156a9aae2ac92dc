// Reading a stored result line: its trimmed form, score, body, team part and
// kind. Lines are as the loader stores them (upper case, score moved behind
// the 40-character team part).
#pragma once

#include <string>
#include <string_view>

namespace caltrix {

enum class GenereRiga {
    Vuota,         // blank, or too short to hold a score
    Intestazione,  // competition header "<...>"
    InCorso,       // running (a minute, or ET or AET as a word in the status)
    Finita,        // FT, AET, PEN, POSTP, SUSP
    Intervallo,    // half-time
    NonIniziata,   // anything else, for example a kick-off time
};

// The rules differ between the slot panels and the single-panel window,
// which does not know the SUSP status.
enum class Variante { Slot, Solo };

class RigaPartita {
public:
    explicit RigaPartita(std::string_view riga);

    std::string_view Riga() const { return m_riga; }
    std::string_view Trim() const { return m_trim; }  // T
    // The last 3 characters (the whole line when shorter).
    std::string_view Punteggio() const;
    // The line without its last 3 characters, trimmed; empty for a line
    // shorter than 3 characters, which is classified Vuota.
    std::string_view Corpo() const;
    // Corpo from its n-th character (1-based) to the end.
    std::string_view Squadre(std::size_t n) const;

    GenereRiga Genere(Variante variante) const;
    // Status of a running line: AET, POSTP or (slot panels only) SUSP when the
    // line contains it as a word, else T up to and including its first double quote.
    std::string_view StatoInCorso(Variante variante) const;

private:
    std::string_view m_riga;
    std::string_view m_trim;
};

// The text with every "<" and ">" removed (the competition title of a header).
std::string Pulisci(std::string_view testo);

}  // namespace caltrix
