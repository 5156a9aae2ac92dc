#include "display/RigheVideo.h"

#include <iterator>

namespace caltrix {

std::int32_t RigheVideo::Count(int slot) const { return IsSlot(slot) ? m_lists[slot - 1].count : 0; }

const std::string* RigheVideo::Line(int slot, int position) const {
    if (!IsSlot(slot) || position < 0) return nullptr;
    const auto& lines = m_lists[slot - 1].lines;
    return static_cast<std::size_t>(position) < lines.size() ? &lines[position] : nullptr;
}

void RigheVideo::Replace(int slot, std::vector<std::string> loaded) {
    if (!IsSlot(slot) || loaded.empty()) return;
    // Built aside first, so that a failure leaves the slot's list as it was.
    std::vector<std::string> lines;
    lines.reserve(loaded.size() + 2);
    lines.emplace_back();
    std::move(loaded.begin(), loaded.end(), std::back_inserter(lines));
    lines.emplace_back();
    SlotLines& list = m_lists[slot - 1];
    list.count = static_cast<std::int32_t>(lines.size()) - 1;
    list.lines = std::move(lines);
}

std::vector<std::string> RigheVideo::Loaded(int slot) const {
    const std::int32_t count = Count(slot);
    if (count < 2) return {};
    const auto& lines = m_lists[slot - 1].lines;
    return {lines.begin() + 1, lines.begin() + count};
}

void RigheVideo::Clear(int slot) {
    if (!IsSlot(slot)) return;
    SlotLines& list = m_lists[slot - 1];
    const auto size = static_cast<std::int64_t>(list.lines.size());
    for (std::int64_t i = 1; i <= list.count && i < size; ++i) list.lines[i].clear();
    list.count = 0;
}

}  // namespace caltrix
