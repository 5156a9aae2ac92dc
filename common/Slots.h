// The display slots the acquisition and the display agree on: eleven, slot k
// with its own slot file lmVideo<k>.txt (FileNames.h) and selection
// (SelectionRule.h). Where slots sit in an array, slot k is element k-1.
#pragma once

namespace caltrix {

inline constexpr int kSlotCount = 11;

inline bool IsSlot(int slot) { return slot >= 1 && slot <= kSlotCount; }

}  // namespace caltrix
