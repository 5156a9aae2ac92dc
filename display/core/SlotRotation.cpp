#include "display/core/SlotRotation.h"

#include <exception>
#include <limits>
#include <utility>

#include <Pannello/Pannello.h>

namespace caltrix {

RotazioneSlot::RotazioneSlot(const RigheVideo& righe, InterpreteRiga& interprete, Interruttore interruttore)
    : m_righe(righe), m_interprete(interprete), m_interruttore(std::move(interruttore)) {}

const std::string* RotazioneSlot::ProssimaRiga(const RigheVideo& righe, int slot, std::int16_t& posizione) {
    if (posizione >= righe.Count(slot) || posizione == std::numeric_limits<std::int16_t>::max()) posizione = 0;
    ++posizione;
    return righe.Riga(slot, posizione);
}

EsitoTick RotazioneSlot::Tick(int slot) {
    if (!RigheVideo::SlotValido(slot)) return {EsitoTick::Tipo::SenzaRiga, {}};
    std::int16_t& posizione = m_posizioni[slot - 1];
    try {
        if (!m_interruttore(slot - 1)) {
            m_interprete.Pannello(slot).Pulisci();
            posizione = 0;
            return {EsitoTick::Tipo::Spenta, {}};
        }
        const std::string* riga = ProssimaRiga(m_righe, slot, posizione);
        if (riga == nullptr) {
            posizione = 0;
            return {EsitoTick::Tipo::SenzaRiga, {}};
        }
        m_interprete.InterpretaRiga(slot, *riga);
        return {EsitoTick::Tipo::Mostrata, {}};
    } catch (const Pannello2::MarkupError& error) {
        // The panel no longer holds the undrawable markup: the next tick shows the next line.
        return {EsitoTick::Tipo::MarkupScartata, error.what()};
    } catch (const std::exception& error) {
        posizione = 0;
        return {EsitoTick::Tipo::Fallita, error.what()};
    }
}

}  // namespace caltrix
