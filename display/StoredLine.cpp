#include "display/StoredLine.h"

#include "common/Text1252.h"

namespace caltrix {
namespace {

constexpr std::size_t kScoreLength = 3;

bool startsWithOneOf(std::string_view text, std::initializer_list<std::string_view> words) {
    for (auto word : words) {
        if (StartsWithWord(text, word)) return true;
    }
    return false;
}

}  // namespace

StoredLine::StoredLine(std::string_view line) : m_line(line), m_trim(TrimSpaces(line)) {}

std::string_view StoredLine::Score() const {
    return m_line.size() < kScoreLength ? m_line : m_line.substr(m_line.size() - kScoreLength);
}

std::string_view StoredLine::Body() const {
    return m_line.size() < kScoreLength ? std::string_view()
                                        : TrimSpaces(m_line.substr(0, m_line.size() - kScoreLength));
}

std::string_view StoredLine::Teams(std::size_t n) const {
    const auto body = Body();
    return n >= 1 && n <= body.size() ? body.substr(n - 1) : std::string_view();
}

LineKind StoredLine::Kind(Rules rules) const {
    if (m_trim.empty()) return LineKind::Empty;
    if (m_trim.front() == '<') return LineKind::Header;
    if (m_line.size() < kScoreLength) return LineKind::Empty;

    // Status words count as whole words only: GETAFE, BETIS, FTC and PENAFIEL are teams.
    const bool minute =
        (Contains(Left(m_trim, 4), "\"") && !StartsWith(m_trim, "L")) || StartsWithMinuteMark(m_trim, '"');
    if (minute || WordWithin(m_trim, 4, "ET") || WordWithin(m_trim, 4, "AET")) return LineKind::Running;
    // POSTP and SUSP begin no team name and may be spelled out (POSTPONED).
    const bool ended = startsWithOneOf(m_trim, {"FT", "AET", "PEN"}) || StartsWith(m_trim, "POSTP") ||
                       (rules == Rules::Slot && StartsWith(m_trim, "SUSP"));
    if (ended) return LineKind::Finished;
    if (WordWithin(m_trim, 3, "HT")) return LineKind::HalfTime;
    return LineKind::NotStarted;
}

std::string_view StoredLine::RunningStatus(Rules rules) const {
    // AET as a whole word only: a running match of GAETA shows its minute.
    if (WordWithin(m_line, m_line.size(), "AET")) return "AET";
    if (Contains(m_line, "POSTP")) return "POSTP";
    if (rules == Rules::Slot && Contains(m_line, "SUSP")) return "SUSP";
    const auto quote = m_trim.find('"');
    return quote == std::string_view::npos ? std::string_view() : m_trim.substr(0, quote + 1);
}

std::string Pulisci(std::string_view text) { return ReplaceAll(ReplaceAll(text, "<", ""), ">", ""); }

}  // namespace caltrix
