#include "feed/sources/FootballDataReader.h"

#include "feed/sources/ReaderSupport.h"

#include <QJsonArray>

namespace caltrix::feed {
namespace {

bool isShootOut(const QString& duration) { return duration == key("PENALTY_SHOOTOUT") || duration == key("PENALTIES"); }

// The state for a status and score duration; nullopt for a status not known.
std::optional<MatchState> stateOf(const QString& status, const QString& duration) {
    const bool extraTime = duration == key("EXTRA_TIME");
    const bool shootOut = isShootOut(duration);
    if (status == key("SCHEDULED") || status == key("TIMED")) return MatchState::NotStarted;
    // EXTRA_TIME, PENALTY_SHOOTOUT and LIVE are status values that some of the
    // provider's responses use besides the score duration.
    if (status == key("EXTRA_TIME")) return MatchState::ExtraTime;
    if (status == key("PENALTY_SHOOTOUT")) return MatchState::PenaltyShootout;
    if (status == key("LIVE")) return MatchState::Running;
    if (status == key("IN_PLAY"))
        return shootOut ? MatchState::PenaltyShootout : extraTime ? MatchState::ExtraTime : MatchState::Running;
    if (status == key("PAUSED")) return extraTime || shootOut ? MatchState::BreakInExtraTime : MatchState::HalfTime;
    if (status == key("FINISHED"))
        return shootOut    ? MatchState::FinishedOnPenalties
               : extraTime ? MatchState::FinishedAfterExtraTime
                           : MatchState::Finished;
    if (status == key("SUSPENDED")) return MatchState::Suspended;
    if (status == key("POSTPONED")) return MatchState::Postponed;
    if (status == key("CANCELLED")) return MatchState::Cancelled;
    if (status == key("AWARDED")) return MatchState::Awarded;
    return std::nullopt;
}

Score sum(const Score& a, const Score& b) {
    if (!a.home || !a.away) return a;
    return {*a.home + b.home.value_or(0), *a.away + b.away.value_or(0)};
}

// The score without shoot-out goals. `fullTime` is the running score and,
// after a shoot-out, counts the penalties too; `regularTime` plus `extraTime`
// leave them out, so they are used when the match went beyond 90 minutes.
// Without them the penalties come off `fullTime`, but only when that leaves
// the level score a shoot-out follows; `penalties` is often null or wrong.
Score matchScore(const QJsonObject& score) {
    const Score fullTime = ScoreOf(score[key("fullTime")]);
    const QString duration = score[key("duration")].toString();
    if (duration != key("EXTRA_TIME") && !isShootOut(duration)) return fullTime;
    const Score regularTime = ScoreOf(score[key("regularTime")]);
    if (regularTime.home && regularTime.away) return sum(regularTime, ScoreOf(score[key("extraTime")]));
    const Score penalties = ScoreOf(score[key("penalties")]);
    if (!isShootOut(duration) || !fullTime.home || !fullTime.away || !penalties.home || !penalties.away)
        return fullTime;
    const Score played{*fullTime.home - *penalties.home, *fullTime.away - *penalties.away};
    return played.home == played.away && *played.home >= 0 ? played : fullTime;
}

std::string side(const QJsonValue& team) {
    const std::string shortName = Utf8(team[key("shortName")]);
    return shortName.empty() ? Utf8(team[key("name")]) : shortName;
}

}  // namespace

SourceResult ReadFootballData(const QByteArray& body) {
    SourceResult result;
    const auto object = BodyObject(body, result.error);
    if (!object) return result;
    const QJsonValue matches = (*object)[key("matches")];
    if (!matches.isArray()) {
        result.error = "the response has no match list";
        return result;
    }
    CompetitionGroups groups;
    for (const QJsonValue entry : matches.toArray()) {
        const auto kickoff = Instant(entry[key("utcDate")]);
        Match match;
        match.home = side(entry[key("homeTeam")]);
        match.away = side(entry[key("awayTeam")]);
        if (!kickoff || match.home.empty() || match.away.empty()) continue;
        match.kickoff = *kickoff;
        match.minute = WholeNumber(entry[key("minute")]);
        const QJsonObject score = entry[key("score")].toObject();
        match.score = matchScore(score);
        match.halfTime = ScoreOf(score[key("halfTime")]);
        const QString status = entry[key("status")].toString();
        const auto state = stateOf(status, score[key("duration")].toString());
        match.state = state ? *state : UnknownState(result, status.toStdString(), match);
        groups.Add(Utf8(entry[key("area")][key("name")]), Utf8(entry[key("competition")][key("name")]),
                   std::move(match));
    }
    Conclude(result, groups.Take(), static_cast<int>(matches.toArray().size()), "football-data.org");
    return result;
}

}  // namespace caltrix::feed
