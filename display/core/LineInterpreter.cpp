#include "display/core/LineInterpreter.h"

#include "display/core/StoredLine.h"
#include "display/core/MatchWriter.h"

namespace caltrix {
namespace {

// A panel keeps the markup it was given even when it cannot draw it, and
// redraws that at the next line's HTFisso, failing again: so undrawable markup
// (a score cut from a broken page line, such as "[-1") is cleared from the
// panel before the failure goes on to the caller.
void ScriviOScarta(FlashPunteggio& flash, const RigaPartita& partita, Variante variante) {
    try {
        ScriviPartita(flash, partita, variante);
    } catch (const Pannello2::MarkupError&) {
        flash.Pannello().SetTestoPic({});
        throw;
    }
}

}  // namespace

InterpreteRiga::InterpreteRiga(const std::array<FlashPunteggio*, kSlots>& flashes) : m_flashes(flashes) {}

void InterpreteRiga::InterpretaRiga(int slot, std::string_view riga) {
    if (slot < 1 || slot > kSlots) return;
    FlashPunteggio& flash = Flash(slot);
    std::string& titolo = m_titoliPendenti[slot - 1];
    if (!titolo.empty()) flash.Pannello().SetTitolo(titolo);
    flash.Ferma();

    const RigaPartita partita(riga);
    switch (partita.Genere(Variante::Slot)) {
    case GenereRiga::Vuota:
        break;
    case GenereRiga::Intestazione:
        titolo = Pulisci(partita.Trim());
        break;
    default:
        titolo.clear();
        flash.Pannello().FTFisso();
        flash.Pannello().HTFisso();
        flash.Ferma();
        ScriviOScarta(flash, partita, Variante::Slot);
        break;
    }
    Rispecchia(slot, riga);
}

void InterpreteRiga::Rispecchia(int slot, std::string_view riga) {
    if (m_solo == nullptr || m_panSel != slot) return;
    Pannello2::_Pannello& solo = m_solo->Pannello();
    solo.SetTitolo(Pannello(slot).Titolo());
    m_solo->Ferma();

    const RigaPartita partita(riga);
    const auto genere = partita.Genere(Variante::Solo);
    if (genere == GenereRiga::Vuota || genere == GenereRiga::Intestazione) return;
    solo.FTFisso();
    solo.HTFisso();
    m_solo->Ferma();
    ScriviOScarta(*m_solo, partita, Variante::Solo);
}

}  // namespace caltrix
