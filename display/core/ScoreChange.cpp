#include "display/core/ScoreChange.h"

#include <charconv>
#include <map>
#include <optional>
#include <utility>

#include "common/Text1252.h"
#include "display/core/LinePreparation.h"
#include "display/core/StoredLine.h"

namespace caltrix {
namespace {

struct Score {
    int home;
    int away;
};

struct Match {
    std::string title;
    std::string teams;
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
std::string teamsOf(const StoredLine& line) {
    const std::string_view part =
        TrimSpaces(line.Line().size() > kTeamsWidth ? line.Line().substr(0, kTeamsWidth) : line.Body());
    const std::string_view status = line.RunningStatus(Rules::Slot);
    if (!status.empty() && status.back() == '"' && StartsWith(part, status))
        return std::string(TrimSpaces(part.substr(status.size())));
    const auto blank = part.find(' ');
    return std::string(blank == std::string_view::npos ? part : TrimSpaces(part.substr(blank + 1)));
}

std::vector<Match> matchesOf(const std::vector<std::string>& lines) {
    std::vector<Match> matches;
    std::string title;
    for (const auto& text : lines) {
        const StoredLine line(text);
        const LineKind kind = line.Kind(Rules::Slot);
        if (kind == LineKind::Header) title = Pulisci(line.Trim());
        if (kind == LineKind::Empty || kind == LineKind::Header || kind == LineKind::NotStarted) continue;
        if (const auto score = readScore(line)) matches.push_back({title, teamsOf(line), *score, &text});
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

std::string ScoreChange::ScorerName() const {
    const auto dash = teams.find('-');
    if (dash == std::string::npos || (scorer != Scorer::Home && scorer != Scorer::Away)) return {};
    return std::string(TrimSpaces(scorer == Scorer::Home ? std::string_view(teams).substr(0, dash)
                                                         : std::string_view(teams).substr(dash + 1)));
}

std::string ScoreChange::TickerText() const {
    const std::string score = std::to_string(home) + " - " + std::to_string(away);
    const auto dash = teams.find('-');
    const std::string_view sides(teams);
    const std::string match = dash == std::string::npos ? teams + " " + score
                                                        : std::string(TrimSpaces(sides.substr(0, dash))) + " " + score +
                                                              " " + std::string(TrimSpaces(sides.substr(dash + 1)));
    return "GOAL  " + match + (title.empty() ? "" : "  (" + title + ")");
}

std::vector<ScoreChange> ScoreChanges(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::map<std::pair<std::string, std::string>, Score> previous;
    for (const Match& match : matchesOf(before)) previous[{match.title, match.teams}] = match.score;

    std::vector<ScoreChange> changes;
    for (const Match& match : matchesOf(after)) {
        const auto found = previous.find({match.title, match.teams});
        if (found == previous.end()) continue;
        const Score& was = found->second;
        if (was.home == match.score.home && was.away == match.score.away) continue;
        const bool up = match.score.home >= was.home && match.score.away >= was.away;
        changes.push_back({up ? ScoreChange::Kind::Goal : ScoreChange::Kind::TakenBack,
                           up ? scorerOf(was, match.score) : ScoreChange::Scorer::None, *match.line, match.title,
                           match.teams, match.score.home, match.score.away});
    }
    return changes;
}

}  // namespace caltrix
