// Finds which titles of the title list a line contains, in one pass.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace caltrix {

// An Aho-Corasick automaton over the titles (none of them empty), built
// once per parse, so each line is scanned once however many titles there are.
class TitleMatcher {
public:
    explicit TitleMatcher(const std::vector<std::string>& titles);

    // How many distinct titles occur in `line`.
    std::size_t CountContained(std::string_view line);

private:
    static constexpr std::int32_t kNone = -1;

    std::int32_t AddNode();
    std::int32_t& Next(std::int32_t node, unsigned char c);
    void Insert(std::string_view title, std::int32_t titleIndex);
    void LinkFailures();

    std::array<std::uint16_t, 256> m_symbol{};  // byte -> symbol; 0 for bytes in no title
    std::size_t m_symbols = 1;
    std::vector<std::int32_t> m_next;        // node * m_symbols + symbol -> node
    std::vector<std::int32_t> m_title;       // title ending at the node, or kNone
    std::vector<std::int32_t> m_outputLink;  // nearest proper suffix node that ends a title
    std::vector<std::int32_t> m_failure;
    std::vector<std::uint32_t> m_seenInLine;  // per title: the line number that last counted it
    std::uint32_t m_lineNumber = 0;
    std::size_t m_shortestTitle = SIZE_MAX;  // no title at all: no line holds one
};

}  // namespace caltrix
