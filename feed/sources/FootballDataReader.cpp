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

// `fullTime` is the running score; after a shoot-out it counts the penalties
// too, which the page does not show, so they are taken off again.
Score matchScore(const QJsonObject& score) {
    Score result = ScoreOf(score[key("fullTime")]);
    const Score penalties = ScoreOf(score[key("penalties")]);
    if (isShootOut(score[key("duration")].toString()) && result.home && result.away && penalties.home &&
        penalties.away && *penalties.home <= *result.home && *penalties.away <= *result.away) {
        *result.home -= *penalties.home;
        *result.away -= *penalties.away;
    }
    return result;
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
        const std::string message = Utf8((*object)[key("message")]);
        result.error =
            message.empty() ? "the response has no match list" : "the provider refused the request: " + message;
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
