// Removal of the tags from one line of saved markup.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace caltrix {

// Strips the tags of a line with the result of the classic tag loop: blank
// everything after the last ">", then repeatedly take the first "<" and the
// first ">" after it as a tag and replace every occurrence of that tag text by
// CR LF, finally drop every CR and LF. Replacing every occurrence lets later
// tags span earlier replacements, so "<i>x<i<i>>" gives "x".
//
// The loop is quadratic when run literally. This class gets the same result in
// one left-to-right sweep: the text up to the first "<" never changes again,
// each tag text becomes a rule stamped with the step that created it, and a
// later ">" is matched against the rules lazily (by hash, confirmed by
// comparison) when the sweep reaches it. Most lines hold only plain tags (no
// "<" inside a tag) and skip the sweep: there every occurrence of a tag text
// is one of the line's tags, so the loop just drops the tags. Reusing one
// object across lines reuses its buffers.
class TagStripper {
public:
    // The line without its tags; throws ParseError when a tag has no end
    // (a "<" left with a ">" before it but none after it).
    std::string Strip(std::string_view line);
    // The same, in a buffer of this object: valid until the next call.
    std::string_view StripToBuffer(std::string_view line);

private:
    struct Key {
        std::uint64_t hash;
        std::size_t length;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept {
            return static_cast<std::size_t>(key.hash ^ (key.length * 0x9E3779B97F4A7C15ULL));
        }
    };
    // A tag text (in m_ruleText) replaced at step `step`; records with the
    // same hash slot are chained through `next`.
    struct Rule {
        Key key;
        std::size_t textBegin;
        std::uint32_t step;
        std::int32_t next;
    };
    // Carried text from `start` on arrived at step `step`.
    struct Arrival {
        std::size_t start;
        std::uint32_t step;
    };
    // Text of the current line between `begin` and `end` (its ">").
    struct Chunk {
        std::size_t begin;
        std::size_t end;
        std::size_t size() const { return end - begin; }
    };
    struct Match {
        std::uint32_t step = UINT32_MAX;
        std::size_t length = 0;
    };

    std::size_t StripPlainTags(std::string_view markup, std::size_t lineSize);
    void SweepNestedTags(std::string_view markup, std::string_view line);
    void Reset(std::string_view markup);
    Match FindEarliestReplacement(const Chunk& chunk) const;
    void ConsiderCandidate(Key key, std::uint32_t arrivedAt, const Chunk& chunk, Match& best) const;
    bool SuffixEquals(std::string_view text, const Chunk& chunk) const;
    void Replace(const Chunk& chunk, const Match& match);
    void OpenTag(const Chunk& chunk, std::uint32_t step);
    void Emit(const Chunk& chunk);
    void AddRule(std::size_t textBegin, std::uint32_t step);
    std::int32_t& Slot(const Key& key);
    void GrowRuleTable();

    std::uint32_t ArrivalAt(std::size_t carryPosition) const;
    std::uint64_t LineHash(std::size_t begin, std::size_t end) const;
    std::uint64_t CarryHash(std::size_t begin) const;
    void AppendCarry(std::string_view text);
    void TruncateCarry(std::size_t size);
    void ClearCarry();
    void AppendVisible(std::string_view text);

    std::string_view m_line;
    std::string m_out;
    std::vector<std::uint64_t> m_powers;
    std::vector<std::uint64_t> m_lineHash;
    // Text waiting in front of the next ">" of the line: what earlier
    // replacements left of the text between the last kept ">" and the sweep.
    std::string m_carry;
    std::vector<std::uint64_t> m_carryHash;
    std::vector<std::size_t> m_carryOpens;
    std::vector<Arrival> m_arrivals;
    // The rules of the line: an open hash table of chains, kept small between lines.
    std::vector<Rule> m_rules;
    std::string m_ruleText;
    std::vector<std::int32_t> m_ruleTable;
    // Lengths of the rules that contain a CR, by their text after the last CR.
    std::unordered_map<Key, std::set<std::size_t>, KeyHash> m_carriedRuleLengths;
};

// The line with its tags removed, in place.
void TogliAngolari(std::string& ricerca);

}  // namespace caltrix
