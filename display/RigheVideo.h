// The line lists of the eleven display slots: what the slot file loader
// stores and what the slot rotation takes one line at a time.
#pragma once

#include "common/Slots.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace caltrix {

class RigheVideo {
public:
    // C(k): the next free position of slot k's list; 0 before the first load
    // and for a slot number outside 1..11.
    std::int32_t Count(int slot) const;

    // The line at `position` of slot k, or null when that position does not
    // exist (a slot never loaded has no positions at all).
    const std::string* Line(int slot, int position) const;

    // Stores the N lines of a load: positions 1..N hold them, positions 0 and
    // N+1 are empty, C = N+1. No lines leaves the list and count as they were.
    void Replace(int slot, std::vector<std::string> lines);

    // Empties every stored line at positions 1..C (the positions stay) and sets
    // C to 0, so the rotation hands the empty line at position 1 on each tick.
    void Clear(int slot);

    // The lines of the last load (positions 1..C-1); none after a clear.
    std::vector<std::string> Loaded(int slot) const;


private:
    struct SlotLines {
        std::vector<std::string> lines;
        std::int32_t count = 0;
    };
    std::array<SlotLines, kSlotCount> m_lists{};
};

}  // namespace caltrix
