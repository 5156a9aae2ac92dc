#include "display/ScoreChange.h"

#include <charconv>
#include <map>
#include <optional>
#include <utility>

#include "common/Text1252.h"
#include "display/LinePreparation.h"
#include "display/StoredLine.h"

namespace caltrix {
namespace {

struct Score {
    int home;
    int away;
};

struct Match {
    std::string title;
    std::string teams;
    std::size_t sidesDash;
    Score score;
    const std::string* line;
};

std::optional<int> readNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The score behind the team part ("1-0", "10-2"); none for "?-?" or a line without one.
std::optional<Score> readScore(const StoredLine& line) {
    const std::string_view text =
        line.Line().size() > kTeamsWidth ? TrimSpaces(line.Line().substr(kTeamsWidth)) : TrimSpaces(line.Score());
    const auto dash = text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto home = readNumber(TrimSpaces(text.substr(0, dash)));
    const auto away = readNumber(TrimSpaces(text.substr(dash + 1)));
    if (!home || !away) return std::nullopt;
    return Score{*home, *away};
}

// The teams of a match line: its part before the score, without the status
// in front: a minute mark ("50\"", "45+2\"", written with or without a blank
// after it) or the first word (FT, HT, AET ...).
std::string_view teamsOf(const StoredLine& line) {
    const std::string_view part =
        TrimSpaces(line.Line().size() > kTeamsWidth ? line.Line().substr(0, kTeamsWidth) : line.Body());
    const std::string_view status = line.RunningStatus(Rules::Slot);
    if (!status.empty() && status.back() == '"' && StartsWith(part, status))
        return TrimSpaces(part.substr(status.size()));
    const auto blank = part.find(' ');
    return blank == std::string_view::npos ? part : TrimSpaces(part.substr(blank + 1));
}

// The sides' "-" of `line` within `teams`, a part of it.
std::size_t dashWithin(std::string_view line, std::string_view teams, std::size_t lineDash) {
    const auto start = static_cast<std::size_t>(teams.data() - line.data());
    if (lineDash == std::string::npos || lineDash < start || lineDash - start >= teams.size()) return std::string::npos;
    return teams[lineDash - start] == '-' ? lineDash - start : std::string::npos;
}

std::vector<Match> matchesOf(const std::vector<std::string>& lines, const std::vector<std::size_t>& dashes = {}) {
    std::vector<Match> matches;
    std::string title;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        const StoredLine line(text);
        const LineKind kind = line.Kind(Rules::Slot);
        if (kind == LineKind::Header) title = Pulisci(line.Trim());
        if (kind == LineKind::Empty || kind == LineKind::Header || kind == LineKind::NotStarted) continue;
        const auto score = readScore(line);
        if (!score) continue;
        const std::string_view teams = teamsOf(line);
        const std::size_t dash = dashWithin(text, teams, i < dashes.size() ? dashes[i] : std::string::npos);
        matches.push_back({title, std::string(teams), dash, *score, &text});
    }
    return matches;
}

ScoreChange::Scorer scorerOf(const Score& before, const Score& after) {
    const bool home = after.home > before.home;
    const bool away = after.away > before.away;
    if (home && away) return ScoreChange::Scorer::Both;
    if (home) return ScoreChange::Scorer::Home;
    return away ? ScoreChange::Scorer::Away : ScoreChange::Scorer::None;
}

}  // namespace

std::size_t ScoreChange::dash() const { return sidesDash != std::string::npos ? sidesDash : teams.find('-'); }

std::string ScoreChange::ScorerName() const {
    const auto at = dash();
    if (at == std::string::npos || (scorer != Scorer::Home && scorer != Scorer::Away)) return {};
    return std::string(TrimSpaces(scorer == Scorer::Home ? std::string_view(teams).substr(0, at)
                                                         : std::string_view(teams).substr(at + 1)));
}

std::string ScoreChange::TickerText() const {
    const std::string score = std::to_string(home) + " - " + std::to_string(away);
    const auto at = dash();
    const std::string_view sides(teams);
    const std::string match = at == std::string::npos ? teams + " " + score
                                                      : std::string(TrimSpaces(sides.substr(0, at))) + " " + score +
                                                            " " + std::string(TrimSpaces(sides.substr(at + 1)));
    return "GOAL  " + match + (title.empty() ? "" : "  (" + title + ")");
}

std::vector<ScoreChange> ScoreChanges(const std::vector<std::string>& before, const std::vector<std::string>& after,
                                      const std::vector<std::size_t>& afterDashes) {
    std::map<std::pair<std::string, std::string>, Score> previous;
    for (const Match& match : matchesOf(before)) previous[{match.title, match.teams}] = match.score;

    std::vector<ScoreChange> changes;
    for (const Match& match : matchesOf(after, afterDashes)) {
        const auto found = previous.find({match.title, match.teams});
        if (found == previous.end()) continue;
        const Score& was = found->second;
        if (was.home == match.score.home && was.away == match.score.away) continue;
        const bool up = match.score.home >= was.home && match.score.away >= was.away;
        changes.push_back({up ? ScoreChange::Kind::Goal : ScoreChange::Kind::TakenBack,
                           up ? scorerOf(was, match.score) : ScoreChange::Scorer::None, *match.line, match.title,
                           match.teams, match.score.home, match.score.away, match.sidesDash});
    }
    return changes;
}

}  // namespace caltrix
