// The competition titles met in the saved pages of a run.
#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace caltrix {

// Lives for the whole run; holds each title once. A blank title is never
// added: it would be contained in every line. So that a site whose titles
// change every cycle cannot grow it for months, it holds at most `capacity`
// titles and drops the one least recently seen on a page to make room.
class TitleList {
public:
    static constexpr std::size_t kCapacity = 10'000;

    // `capacity` is at least 1.
    explicit TitleList(std::size_t capacity = kCapacity) : m_capacity(capacity) {}
    // Not copied: the index views the strings of this very list.
    TitleList(const TitleList&) = delete;
    TitleList& operator=(const TitleList&) = delete;

    bool Contains(std::string_view title) const { return m_index.contains(title); }
    // Records that a page shows the title. True when it was added (not blank
    // and not yet present); a title already present becomes the most recent.
    bool Add(std::string title);
    std::size_t size() const { return m_entries.size(); }
    // Least recently seen first.
    const std::list<std::string>& entries() const { return m_entries; }

private:
    std::size_t m_capacity;
    std::list<std::string> m_entries;
    // Keys view the strings held by m_entries, whose nodes never move.
    std::unordered_map<std::string_view, std::list<std::string>::iterator> m_index;
};

}  // namespace caltrix
