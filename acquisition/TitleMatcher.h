// Finds which titles of the title list a line contains, in one pass.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "acquisition/TitleList.h"

namespace caltrix {

// An Aho-Corasick automaton over the titles, built once per parse, so each
// line is scanned once however many titles there are. Transitions are kept
// sparse (a node lists its children), so its size grows with the titles'
// total length; only the root, where most bytes of a line land, has a table.
class TitleMatcher {
public:
    explicit TitleMatcher(const TitleList& titles);

    // How many distinct titles occur in `line`.
    std::size_t CountContained(std::string_view line);

private:
    static constexpr std::int32_t kNone = -1;
    static constexpr std::int32_t kRoot = 0;

    struct Node {
        std::int32_t firstChild = kNone;
        std::int32_t nextSibling = kNone;
        std::int32_t failure = kRoot;
        std::int32_t outputLink = kNone;  // nearest proper suffix node that ends a title
        std::int32_t title = kNone;       // the title ending at this node
        unsigned char byte = 0;           // the byte that leads here from the parent
    };

    std::int32_t Child(std::int32_t node, unsigned char c) const;
    std::int32_t AddChild(std::int32_t node, unsigned char c);
    // The node after reading `c` at `node`, following failure links.
    std::int32_t Step(std::int32_t node, unsigned char c) const;
    void Insert(std::string_view title, std::int32_t titleIndex);
    void LinkFailures();

    std::vector<Node> m_nodes;
    std::array<std::int32_t, 256> m_rootNext;  // kNone while building, then kRoot for bytes that start no title
    std::vector<std::uint32_t> m_seenInLine;   // per title: the line number that last counted it
    std::uint32_t m_lineNumber = 0;
    std::size_t m_shortestTitle = SIZE_MAX;  // no title at all: no line holds one
};

}  // namespace caltrix
