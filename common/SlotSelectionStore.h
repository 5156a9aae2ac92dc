// The slot selection store: per display slot, the selection string naming the
// competitions it shows and the switch that turns it on. Element k-1 belongs
// to slot k (1..11); element 11 belongs to no slot. The main window owns the
// one store of a run: the configuration writes it, the result writer and the
// slot rotation read it.
#pragma once

#include "common/Slots.h"

#include <array>
#include <string>

namespace caltrix {

class SlotSelectionStore {
public:
    static constexpr int kElements = 12;

    // Selection string of element i (Windows-1252); empty for an i out of range.
    const std::string& Selection(int element) const;
    void SetSelection(int element, std::string selection);
    // Switch of element i: 1 = on (every element for the whole run), 0 = off.
    int Switch(int element) const;
    void SetSwitch(int element, int value);

    // The eleven slots' selection strings, slot 1 first.
    std::array<std::string, kSlotCount> SlotSelections() const;
    void ClearSelections();

private:
    std::array<std::string, kElements> m_selections{};
    std::array<int, kElements> m_switches{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};

}  // namespace caltrix
