#include "acquisition/TitleMatcher.h"

#include <algorithm>
#include <queue>
#include <utility>

namespace caltrix {

TitleMatcher::TitleMatcher(const TitleList& titles) : m_nodes(1) {
    m_rootNext.fill(kNone);
    std::int32_t index = 0;
    for (const std::string& title : titles.entries()) {
        Insert(title, index++);
        m_shortestTitle = std::min(m_shortestTitle, title.size());
    }
    LinkFailures();
    m_seenInLine.assign(titles.size(), 0);
}

std::size_t TitleMatcher::CountContained(std::string_view line) {
    if (line.size() < m_shortestTitle) return 0;  // most cells: a status, a name, a score
    ++m_lineNumber;
    std::size_t count = 0;
    std::int32_t node = kRoot;
    for (const char c : line) {
        node = Step(node, static_cast<unsigned char>(c));
        const Node& reached = m_nodes[node];
        for (std::int32_t at = reached.title != kNone ? node : reached.outputLink; at != kNone;
             at = m_nodes[at].outputLink) {
            auto& seen = m_seenInLine[m_nodes[at].title];
            // Titles further down the chain are ends of this one: counted with it.
            if (seen == m_lineNumber) break;
            seen = m_lineNumber;
            ++count;
        }
    }
    return count;
}

std::int32_t TitleMatcher::Child(std::int32_t node, unsigned char c) const {
    if (node == kRoot) return m_rootNext[c];
    for (std::int32_t child = m_nodes[node].firstChild; child != kNone; child = m_nodes[child].nextSibling) {
        if (m_nodes[child].byte == c) return child;
    }
    return kNone;
}

std::int32_t TitleMatcher::AddChild(std::int32_t node, unsigned char c) {
    const auto child = static_cast<std::int32_t>(m_nodes.size());
    m_nodes.push_back(Node{.byte = c});
    if (node == kRoot) {
        m_rootNext[c] = child;
    } else {
        m_nodes[child].nextSibling = std::exchange(m_nodes[node].firstChild, child);
    }
    return child;
}

std::int32_t TitleMatcher::Step(std::int32_t node, unsigned char c) const {
    for (;; node = m_nodes[node].failure) {
        const std::int32_t child = Child(node, c);
        if (child != kNone) return child;  // at the root always: a byte that starts no title leads back to it
    }
}

void TitleMatcher::Insert(std::string_view title, std::int32_t titleIndex) {
    std::int32_t node = kRoot;
    for (const char c : title) {
        const auto c8 = static_cast<unsigned char>(c);
        const std::int32_t child = Child(node, c8);
        node = child != kNone ? child : AddChild(node, c8);
    }
    m_nodes[node].title = titleIndex;
}

// Breadth-first, so a node's failure target (shallower) is settled before it.
void TitleMatcher::LinkFailures() {
    std::queue<std::int32_t> queue;
    for (std::int32_t& child : m_rootNext) {
        if (child == kNone) {
            child = kRoot;
        } else {
            queue.push(child);  // failure: the root; no proper suffix ends a title
        }
    }
    while (!queue.empty()) {
        const std::int32_t node = queue.front();
        queue.pop();
        for (std::int32_t child = m_nodes[node].firstChild; child != kNone; child = m_nodes[child].nextSibling) {
            const std::int32_t failure = Step(m_nodes[node].failure, m_nodes[child].byte);
            m_nodes[child].failure = failure;
            m_nodes[child].outputLink = m_nodes[failure].title != kNone ? failure : m_nodes[failure].outputLink;
            queue.push(child);
        }
    }
}

}  // namespace caltrix
