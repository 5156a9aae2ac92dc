#include "acquisition/core/TitleMatcher.h"

#include <algorithm>
#include <deque>

namespace caltrix {

TitleMatcher::TitleMatcher(const std::vector<std::string>& titles) {
    for (const std::string& title : titles) {
        for (const char c : title) {
            auto& symbol = m_symbol[static_cast<unsigned char>(c)];
            if (symbol == 0) symbol = static_cast<std::uint16_t>(m_symbols++);
        }
    }
    AddNode();
    for (std::size_t i = 0; i < titles.size(); ++i) Insert(titles[i], static_cast<std::int32_t>(i));
    LinkFailures();
    m_seenInLine.assign(titles.size(), 0);
    for (const std::string& title : titles) m_shortestTitle = std::min(m_shortestTitle, title.size());
}

std::size_t TitleMatcher::CountContained(std::string_view line) {
    if (line.size() < m_shortestTitle) return 0;  // most cells: a status, a name, a score
    ++m_lineNumber;
    std::size_t count = 0;
    std::int32_t node = 0;
    for (const char c : line) {
        node = Next(node, static_cast<unsigned char>(c));
        for (std::int32_t at = m_title[node] != kNone ? node : m_outputLink[node]; at != kNone; at = m_outputLink[at]) {
            auto& seen = m_seenInLine[m_title[at]];
            // Titles further down the chain are ends of this one: counted with it.
            if (seen == m_lineNumber) break;
            seen = m_lineNumber;
            ++count;
        }
    }
    return count;
}

std::int32_t TitleMatcher::AddNode() {
    m_next.insert(m_next.end(), m_symbols, kNone);
    m_title.push_back(kNone);
    m_outputLink.push_back(kNone);
    m_failure.push_back(0);
    return static_cast<std::int32_t>(m_title.size() - 1);
}

std::int32_t& TitleMatcher::Next(std::int32_t node, unsigned char c) {
    return m_next[static_cast<std::size_t>(node) * m_symbols + m_symbol[c]];
}

void TitleMatcher::Insert(std::string_view title, std::int32_t titleIndex) {
    std::int32_t node = 0;
    for (const char c : title) {
        const auto c8 = static_cast<unsigned char>(c);
        if (Next(node, c8) == kNone) {
            const std::int32_t child = AddNode();
            Next(node, c8) = child;
        }
        node = Next(node, c8);
    }
    m_title[node] = titleIndex;
}

// Breadth-first: every missing transition becomes the failure node's, so
// scanning never backtracks.
void TitleMatcher::LinkFailures() {
    std::deque<std::int32_t> queue;
    for (std::size_t s = 0; s < m_symbols; ++s) {
        std::int32_t& child = m_next[s];
        if (child == kNone) {
            child = 0;
        } else {
            queue.push_back(child);
        }
    }
    while (!queue.empty()) {
        const std::int32_t node = queue.front();
        queue.pop_front();
        const std::int32_t failure = m_failure[node];
        m_outputLink[node] = m_title[failure] != kNone ? failure : m_outputLink[failure];
        for (std::size_t s = 0; s < m_symbols; ++s) {
            std::int32_t& child = m_next[static_cast<std::size_t>(node) * m_symbols + s];
            const std::int32_t viaFailure = m_next[static_cast<std::size_t>(failure) * m_symbols + s];
            if (child == kNone) {
                child = viaFailure;
            } else {
                m_failure[child] = viaFailure;
                queue.push_back(child);
            }
        }
    }
}

}  // namespace caltrix
