// The competition titles met in the saved pages of a run.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace caltrix {

// Lives for the whole run and is never emptied; holds each title once, in
// the order first met. A blank title is never added: it would be contained
// in every line.
class TitleList {
public:
    bool Contains(std::string_view title) const;
    // True when the title was added (not blank and not yet present).
    bool Add(std::string title);
    std::size_t size() const { return m_entries.size(); }
    const std::vector<std::string>& entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
    std::unordered_set<std::string> m_index;
};

}  // namespace caltrix
