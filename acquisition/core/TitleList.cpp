#include "acquisition/core/TitleList.h"

#include "common/Text1252.h"

namespace caltrix {

bool TitleList::Contains(std::string_view title) const {
    return m_index.contains(std::string(title));
}

bool TitleList::Add(std::string title) {
    if (TrimSpaces(title).empty() || Contains(title)) return false;
    m_index.insert(title);
    m_entries.push_back(std::move(title));
    return true;
}

}  // namespace caltrix
