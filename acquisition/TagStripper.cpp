#include "acquisition/TagStripper.h"

#include "acquisition/ParseError.h"
#include "common/LineText.h"
#include "common/QuotedLine.h"

#include <algorithm>

namespace caltrix {
namespace {

// Polynomial hashing modulo 2^64: cheap, and a collision only costs a
// comparison, since every hash match is confirmed on the text.
constexpr std::uint64_t kBase = 0x100000001B3ULL;

std::uint64_t Extend(std::uint64_t hash, char c) { return hash * kBase + static_cast<unsigned char>(c) + 1; }

std::uint64_t HashOf(std::string_view text) {
    std::uint64_t hash = 0;
    for (const char c : text) hash = Extend(hash, c);
    return hash;
}

constexpr std::size_t kSmallRuleTable = 16;

}  // namespace

std::string TagStripper::Strip(std::string_view line) { return std::string(StripToBuffer(line)); }

std::string_view TagStripper::StripToBuffer(std::string_view line) {
    const auto lastClose = line.rfind('>');
    if (lastClose == std::string_view::npos) {
        m_out.assign(line.size(), ' ');
        return m_out;
    }
    const std::string_view markup = line.substr(0, lastClose + 1);
    if (const std::size_t kept = StripPlainTags(markup, line.size()); kept != std::string_view::npos) {
        return std::string_view(m_out).substr(0, kept);
    }
    SweepNestedTags(markup, line);
    m_out.append(line.size() - markup.size(), ' ');
    return m_out;
}

// The text outside the tags, without CR and LF, followed by the blanked tail
// of a line of `lineSize` bytes, at the start of m_out, when no tag holds a
// "<"; its length, or npos otherwise. One byte loop: tags and texts are short,
// so library searches would cost more in calls than they save. m_out only
// grows here, so a line costs no clearing of the buffer.
std::size_t TagStripper::StripPlainTags(std::string_view markup, std::size_t lineSize) {
    if (m_out.size() < lineSize) m_out.resize(lineSize);
    char* const first = m_out.data();
    char* out = first;
    const char* const end = markup.data() + markup.size();
    for (const char* at = markup.data(); at != end;) {
        const char c = *at++;
        if (c == '<') {
            // The markup ends with ">", so every tag ends within it.
            for (char t = *at++; t != '>'; t = *at++) {
                if (t == '<') return std::string_view::npos;
            }
        } else if (c != '\r' && c != '\n') {
            *out++ = c;
        }
    }
    out = std::fill_n(out, lineSize - markup.size(), ' ');
    return static_cast<std::size_t>(out - first);
}

// The general case, in one left-to-right sweep over the chunks that end at a ">".
void TagStripper::SweepNestedTags(std::string_view markup, std::string_view line) {
    Reset(markup);
    std::uint32_t step = 0;
    bool closeKept = false;
    for (std::size_t begin = 0; begin < m_line.size();) {
        const Chunk chunk{begin, m_line.find('>', begin) + 1};
        const Match match = FindEarliestReplacement(chunk);
        if (match.length > 0) {
            Replace(chunk, match);
        } else if (!m_carryOpens.empty() ||
                   m_line.substr(chunk.begin, chunk.size()).find('<') != std::string_view::npos) {
            OpenTag(chunk, ++step);
        } else {
            Emit(chunk);
            closeKept = true;
        }
        begin = chunk.end;
    }
    if (!m_carryOpens.empty() && closeKept) throw ParseError("tag without end in line: " + QuotedLine(line));
    AppendVisible(m_carry);
}

void TagStripper::Reset(std::string_view markup) {
    m_line = markup;
    m_out.clear();
    m_rules.clear();
    m_ruleText.clear();
    m_ruleTable.assign(kSmallRuleTable, -1);
    // A map keeps its buckets when cleared; clearing many of them again for
    // every short line after a long one would cost more than the lines.
    if (m_carriedRuleLengths.bucket_count() > kSmallRuleTable) m_carriedRuleLengths = {};
    if (!m_carriedRuleLengths.empty()) m_carriedRuleLengths.clear();
    ClearCarry();
    if (m_powers.empty()) m_powers.push_back(1);
    while (m_powers.size() < markup.size() + 2) m_powers.push_back(m_powers.back() * kBase);
    m_lineHash.assign(1, 0);
    m_lineHash.reserve(markup.size() + 1);
    for (const char c : markup) m_lineHash.push_back(Extend(m_lineHash.back(), c));
}

// The earliest step whose tag text was, at that step, the end of the text
// that runs up to this chunk's ">". Steps not found leave `length` zero.
TagStripper::Match TagStripper::FindEarliestReplacement(const Chunk& chunk) const {
    Match best;
    for (std::size_t at = chunk.end - 1; at-- > chunk.begin;) {
        if (m_line[at] != '<') continue;
        ConsiderCandidate({LineHash(at, chunk.end), chunk.end - at}, 0, chunk, best);
    }
    if (m_carryOpens.empty() || m_carriedRuleLengths.empty()) return best;

    // A tag starting in the carried text spans its final CR LF, so it ends
    // with LF and this chunk: only rules with that ending can match.
    const Key ending{Extend(0, '\n') * m_powers[chunk.size()] + LineHash(chunk.begin, chunk.end), chunk.size() + 1};
    const auto lengths = m_carriedRuleLengths.find(ending);
    if (lengths == m_carriedRuleLengths.end()) return best;
    for (const std::size_t length : lengths->second) {
        const std::size_t carried = length - chunk.size();
        if (carried > m_carry.size()) break;
        const std::size_t at = m_carry.size() - carried;
        if (m_carry[at] != '<') continue;
        const std::uint64_t hash = CarryHash(at) * m_powers[chunk.size()] + LineHash(chunk.begin, chunk.end);
        ConsiderCandidate({hash, length}, ArrivalAt(at), chunk, best);
    }
    return best;
}

void TagStripper::ConsiderCandidate(Key key, std::uint32_t arrivedAt, const Chunk& chunk, Match& best) const {
    const std::size_t slot = KeyHash{}(key) & (m_ruleTable.size() - 1);
    for (std::int32_t at = m_ruleTable[slot]; at >= 0; at = m_rules[at].next) {
        const Rule& rule = m_rules[at];
        if (!(rule.key == key) || rule.step <= arrivedAt || rule.step >= best.step) continue;
        if (!SuffixEquals(std::string_view(m_ruleText).substr(rule.textBegin, key.length), chunk)) continue;
        best = {rule.step, key.length};
    }
}

// True when `text` is the end of the carried text followed by the chunk.
bool TagStripper::SuffixEquals(std::string_view text, const Chunk& chunk) const {
    const std::string_view own = m_line.substr(chunk.begin, chunk.size());
    if (text.size() <= own.size()) return own.substr(own.size() - text.size()) == text;
    const std::size_t carried = text.size() - own.size();
    return carried <= m_carry.size() && text.substr(carried) == own &&
           text.substr(0, carried) == std::string_view(m_carry).substr(m_carry.size() - carried);
}

// The chunk's text ends with the tag of `match.step`: the tag becomes CR LF
// and what is left runs on into the next chunk, together with the carried
// text that arrived before that step.
void TagStripper::Replace(const Chunk& chunk, const Match& match) {
    std::size_t mergedFrom = m_carry.size();
    while (!m_arrivals.empty() && m_arrivals.back().step < match.step) {
        mergedFrom = m_arrivals.back().start;
        m_arrivals.pop_back();
    }
    if (match.length > chunk.size()) TruncateCarry(m_carry.size() - (match.length - chunk.size()));
    m_arrivals.push_back({mergedFrom, match.step});
    if (match.length < chunk.size()) AppendCarry(m_line.substr(chunk.begin, chunk.size() - match.length));
    AppendCarry(kLineEnd);
}

// The chunk holds the first "<" of the line: the text before it is final and
// the rest up to the ">" is the tag of a new step.
void TagStripper::OpenTag(const Chunk& chunk, std::uint32_t step) {
    const std::string_view own = m_line.substr(chunk.begin, chunk.size());
    const std::size_t textBegin = m_ruleText.size();
    if (!m_carryOpens.empty()) {
        const std::size_t open = m_carryOpens.front();
        AppendVisible(std::string_view(m_carry).substr(0, open));
        m_ruleText.append(m_carry, open);
        m_ruleText.append(own);
        std::string ending = "\n";
        ending.append(own);
        m_carriedRuleLengths[{HashOf(ending), ending.size()}].insert(m_ruleText.size() - textBegin);
    } else {
        const std::size_t open = own.find('<');
        AppendVisible(m_carry);
        AppendVisible(own.substr(0, open));
        m_ruleText.append(own.substr(open));
    }
    AddRule(textBegin, step);
    ClearCarry();
}

void TagStripper::Emit(const Chunk& chunk) {
    AppendVisible(m_carry);
    AppendVisible(m_line.substr(chunk.begin, chunk.size()));
    ClearCarry();
}

void TagStripper::AddRule(std::size_t textBegin, std::uint32_t step) {
    if (2 * (m_rules.size() + 1) > m_ruleTable.size()) GrowRuleTable();
    const std::string_view text = std::string_view(m_ruleText).substr(textBegin);
    const Key key{HashOf(text), text.size()};
    std::int32_t& head = Slot(key);
    m_rules.push_back({key, textBegin, step, head});
    head = static_cast<std::int32_t>(m_rules.size() - 1);
}

std::int32_t& TagStripper::Slot(const Key& key) { return m_ruleTable[KeyHash{}(key) & (m_ruleTable.size() - 1)]; }

void TagStripper::GrowRuleTable() {
    m_ruleTable.assign(2 * m_ruleTable.size(), -1);
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        std::int32_t& head = Slot(m_rules[i].key);
        m_rules[i].next = head;
        head = static_cast<std::int32_t>(i);
    }
}

std::uint32_t TagStripper::ArrivalAt(std::size_t carryPosition) const {
    const auto after = std::upper_bound(m_arrivals.begin(), m_arrivals.end(), carryPosition,
                                        [](std::size_t position, const Arrival& a) { return position < a.start; });
    return std::prev(after)->step;
}

std::uint64_t TagStripper::LineHash(std::size_t begin, std::size_t end) const {
    return m_lineHash[end] - m_lineHash[begin] * m_powers[end - begin];
}

std::uint64_t TagStripper::CarryHash(std::size_t begin) const {
    const std::size_t end = m_carry.size();
    return m_carryHash[end] - m_carryHash[begin] * m_powers[end - begin];
}

void TagStripper::AppendCarry(std::string_view text) {
    for (const char c : text) {
        if (c == '<') m_carryOpens.push_back(m_carry.size());
        m_carry.push_back(c);
        m_carryHash.push_back(Extend(m_carryHash.back(), c));
    }
}

void TagStripper::TruncateCarry(std::size_t size) {
    m_carry.resize(size);
    m_carryHash.resize(size + 1);
    while (!m_carryOpens.empty() && m_carryOpens.back() >= size) m_carryOpens.pop_back();
}

void TagStripper::ClearCarry() {
    m_carry.clear();
    m_carryHash.assign(1, 0);
    m_carryOpens.clear();
    m_arrivals.clear();
}

void TagStripper::AppendVisible(std::string_view text) {
    for (auto lineEnd = text.find_first_of(kLineEnd); lineEnd != std::string_view::npos;
         lineEnd = text.find_first_of(kLineEnd)) {
        m_out.append(text.substr(0, lineEnd));
        text.remove_prefix(lineEnd + 1);
    }
    m_out.append(text);
}

void TogliAngolari(std::string& ricerca) { ricerca = TagStripper().Strip(ricerca); }

}  // namespace caltrix
