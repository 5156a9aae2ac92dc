#include "display/core/RigheVideo.h"

#include <iterator>

namespace caltrix {

std::int32_t RigheVideo::Count(int slot) const { return SlotValido(slot) ? m_liste[slot].count : 0; }

const std::string* RigheVideo::Riga(int slot, int position) const {
    if (!SlotValido(slot) || position < 0) return nullptr;
    const auto& righe = m_liste[slot].righe;
    return static_cast<std::size_t>(position) < righe.size() ? &righe[position] : nullptr;
}

void RigheVideo::Sostituisci(int slot, std::vector<std::string> lines) {
    if (!SlotValido(slot) || lines.empty()) return;
    // Built aside first, so that a failure leaves the slot's list as it was.
    std::vector<std::string> righe;
    righe.reserve(lines.size() + 2);
    righe.emplace_back();
    std::move(lines.begin(), lines.end(), std::back_inserter(righe));
    righe.emplace_back();
    Lista& lista = m_liste[slot];
    lista.count = static_cast<std::int32_t>(righe.size()) - 1;
    lista.righe = std::move(righe);
}

void RigheVideo::Azzera(int slot) {
    if (!SlotValido(slot)) return;
    Lista& lista = m_liste[slot];
    const auto size = static_cast<std::int64_t>(lista.righe.size());
    for (std::int64_t i = 1; i <= lista.count && i < size; ++i) lista.righe[i].clear();
    lista.count = 0;
}

}  // namespace caltrix
