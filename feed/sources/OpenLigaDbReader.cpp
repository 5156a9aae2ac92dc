#include "feed/sources/OpenLigaDbReader.h"

#include "feed/sources/ReaderSupport.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <map>

namespace caltrix::feed {
namespace {

constexpr int kHalfTimeResult = 1;
constexpr int kFinalResult = 2;

Score scoreOf(const QJsonValue& entry, const char* team1, const char* team2) {
    return {WholeNumber(entry[key(team1)]), WholeNumber(entry[key(team2)])};
}

Score resultOfType(const QJsonValue& match, int type) {
    for (const QJsonValue entry : match[key("matchResults")].toArray())
        if (WholeNumber(entry[key("resultTypeID")]) == type) return scoreOf(entry, "pointsTeam1", "pointsTeam2");
    return {};
}

int goals(const Score& score) { return score.home.value_or(0) + score.away.value_or(0); }

// The result of type 2 or the last goal's score, whichever is further on:
// either may lag behind the other while the match runs.
Score currentScore(const QJsonValue& match) {
    const Score final = resultOfType(match, kFinalResult);
    const QJsonArray goalList = match[key("goals")].toArray();
    const Score lastGoal = goalList.isEmpty() ? Score{} : scoreOf(goalList.last(), "scoreTeam1", "scoreTeam2");
    return goals(lastGoal) > goals(final) ? lastGoal : final;
}

std::string side(const QJsonValue& team) {
    const std::string shortName = Utf8(team[key("shortName")]);
    return shortName.empty() ? Utf8(team[key("teamName")]) : shortName;
}

MatchState stateOf(const QJsonValue& entry, const Match& match, std::chrono::sys_seconds now) {
    if (entry[key("matchIsFinished")].toBool()) return MatchState::Finished;
    return match.kickoff <= now ? MatchState::Running : MatchState::NotStarted;
}

struct LeagueTitle {
    std::string area, name;
};

// OpenLigaDB names no country, and its league names carry the season ("1.
// Fußball-Bundesliga 2026/2027"), too long for a panel's title. The German
// leagues it is used for get their usual titles; any other league keeps its
// name without the season, with its shortcut in the area's place.
LeagueTitle titleOf(const QJsonValue& entry) {
    static const std::map<QString, LeagueTitle> kKnown = {
        {QStringLiteral("bl1"), {"Germany", "Bundesliga"}},
        {QStringLiteral("bl2"), {"Germany", "2. Bundesliga"}},
        {QStringLiteral("bl3"), {"Germany", "3. Liga"}},
        {QStringLiteral("dfb"), {"Germany", "DFB-Pokal"}},
    };
    const QString shortcut = entry[key("leagueShortcut")].toString().toLower();
    if (const auto known = kKnown.find(shortcut); known != kKnown.end()) return known->second;
    static const QRegularExpression season(QStringLiteral("\\s+\\d{4}(/\\d{2,4})?$"));
    return {shortcut.toUpper().toStdString(),
            entry[key("leagueName")].toString().remove(season).trimmed().toStdString()};
}

}  // namespace

SourceResult ReadOpenLigaDb(const QByteArray& body, std::chrono::sys_seconds now) {
    SourceResult result;
    const auto document = BodyDocument(body, result.error);
    if (!document) return result;
    if (!document->isArray()) {
        result.error = "the response is not a list of matches";
        return result;
    }
    CompetitionGroups groups;
    for (const QJsonValue entry : document->array()) {
        const auto kickoff = Instant(entry[key("matchDateTimeUTC")]);
        Match match;
        match.home = side(entry[key("team1")]);
        match.away = side(entry[key("team2")]);
        if (!kickoff || match.home.empty() || match.away.empty()) continue;
        match.kickoff = *kickoff;
        match.state = stateOf(entry, match, now);
        if (match.state != MatchState::NotStarted) {
            match.score = currentScore(entry);
            if (!match.score.home && !match.score.away) match.score = {0, 0};
        }
        match.halfTime = resultOfType(entry, kHalfTimeResult);
        LeagueTitle title = titleOf(entry);
        groups.Add(std::move(title.area), std::move(title.name), std::move(match));
    }
    Conclude(result, groups.Take(), static_cast<int>(document->array().size()), "OpenLigaDB");
    return result;
}

}  // namespace caltrix::feed
