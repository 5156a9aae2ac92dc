#include "common/SlotSelectionStore.h"

namespace caltrix {
namespace {
bool inRange(int element) { return element >= 0 && element < SlotSelectionStore::kElements; }
}  // namespace

const std::string& SlotSelectionStore::Selection(int element) const {
    static const std::string none;
    return inRange(element) ? m_selections[static_cast<std::size_t>(element)] : none;
}

void SlotSelectionStore::SetSelection(int element, std::string selection) {
    if (inRange(element)) m_selections[static_cast<std::size_t>(element)] = std::move(selection);
}

int SlotSelectionStore::Switch(int element) const {
    return inRange(element) ? m_switches[static_cast<std::size_t>(element)] : 0;
}

void SlotSelectionStore::SetSwitch(int element, int value) {
    if (inRange(element)) m_switches[static_cast<std::size_t>(element)] = value;
}

std::array<std::string, kSlotCount> SlotSelectionStore::SlotSelections() const {
    std::array<std::string, kSlotCount> slots;
    for (int k = 0; k < kSlotCount; ++k) slots[static_cast<std::size_t>(k)] = m_selections[static_cast<std::size_t>(k)];
    return slots;
}

void SlotSelectionStore::ClearSelections() { m_selections.fill({}); }

}  // namespace caltrix
