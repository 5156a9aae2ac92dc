#include "display/core/InterpreteRiga.h"

#include "display/core/RigaPartita.h"
#include "display/core/ScritturaPartita.h"

namespace caltrix {

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
            ScriviPartita(flash, partita, Variante::Slot);
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
    ScriviPartita(*m_solo, partita, Variante::Solo);
}

}  // namespace caltrix
