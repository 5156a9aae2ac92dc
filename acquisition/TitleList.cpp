#include "acquisition/TitleList.h"

#include "common/Text1252.h"

namespace caltrix {

bool TitleList::Add(std::string title) {
    if (TrimSpaces(title).empty()) return false;
    if (const auto found = m_index.find(title); found != m_index.end()) {
        m_entries.splice(m_entries.end(), m_entries, found->second);
        return false;
    }
    if (m_entries.size() >= m_capacity) {
        m_index.erase(m_entries.front());
        m_entries.pop_front();
    }
    m_entries.push_back(std::move(title));
    m_index.emplace(m_entries.back(), std::prev(m_entries.end()));
    return true;
}

}  // namespace caltrix
