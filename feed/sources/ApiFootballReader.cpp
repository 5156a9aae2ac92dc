#include "feed/sources/ApiFootballReader.h"

#include "feed/sources/ReaderSupport.h"

#include <QJsonArray>

#include <map>

namespace caltrix::feed {
namespace {

const std::map<QString, MatchState> kStates = {
    {QStringLiteral("NS"), MatchState::NotStarted},
    {QStringLiteral("TBD"), MatchState::NotStarted},
    {QStringLiteral("1H"), MatchState::FirstHalf},
    {QStringLiteral("HT"), MatchState::HalfTime},
    {QStringLiteral("2H"), MatchState::SecondHalf},
    {QStringLiteral("ET"), MatchState::ExtraTime},
    {QStringLiteral("BT"), MatchState::BreakInExtraTime},
    {QStringLiteral("P"), MatchState::PenaltyShootout},
    {QStringLiteral("LIVE"), MatchState::Running},
    {QStringLiteral("SUSP"), MatchState::Suspended},
    {QStringLiteral("INT"), MatchState::Suspended},
    {QStringLiteral("FT"), MatchState::Finished},
    {QStringLiteral("AET"), MatchState::FinishedAfterExtraTime},
    {QStringLiteral("PEN"), MatchState::FinishedOnPenalties},
    {QStringLiteral("PST"), MatchState::Postponed},
    {QStringLiteral("CANC"), MatchState::Cancelled},
    {QStringLiteral("ABD"), MatchState::Abandoned},
    {QStringLiteral("AWD"), MatchState::Awarded},
    {QStringLiteral("WO"), MatchState::Awarded},
};

// The kind of refusal by the member of `errors` that names it.
Refusal refusalOf(const QJsonValue& errors) {
    const auto has = [&errors](const char* name) {
        if (errors.isObject()) return errors.toObject().contains(key(name));
        for (const QJsonValue element : errors.toArray())
            if (element.toObject().contains(key(name))) return true;
        return false;
    };
    if (has("token") || has("access")) return Refusal::Key;
    if (has("plan")) return Refusal::Plan;
    if (has("requests")) return Refusal::DailyLimit;
    if (has("rateLimit")) return Refusal::RateLimit;
    return Refusal::Other;
}

}  // namespace

SourceResult ReadApiFootball(const QByteArray& body) {
    SourceResult result;
    const auto object = BodyObject(body, result.error);
    if (!object) return result;
    const QJsonValue errors = (*object)[key("errors")];
    if (const std::string messages = ProviderMessages(errors); !messages.empty()) {
        result.refusal = refusalOf(errors);
        result.error = RefusalText(result.refusal) + ": " + Quoted(messages);
        return result;
    }
    const QJsonValue fixtures = (*object)[key("response")];
    if (!fixtures.isArray()) {
        result.error = "the response has no fixture list";
        return result;
    }
    CompetitionGroups groups;
    for (const QJsonValue entry : fixtures.toArray()) {
        const QJsonValue fixture = entry[key("fixture")];
        const auto kickoff = Instant(fixture[key("date")]);
        Match match;
        match.home = Utf8(entry[key("teams")][key("home")][key("name")]);
        match.away = Utf8(entry[key("teams")][key("away")][key("name")]);
        if (!kickoff || match.home.empty() || match.away.empty()) continue;
        match.kickoff = *kickoff;
        match.minute = WholeNumber(fixture[key("status")][key("elapsed")]);
        match.score = ScoreOf(entry[key("goals")]);
        match.halfTime = ScoreOf(entry[key("score")][key("halftime")]);
        const QString status = fixture[key("status")][key("short")].toString();
        const auto known = kStates.find(status);
        match.state = known != kStates.end() ? known->second : UnknownState(result, status.toStdString(), match);
        const QJsonValue league = entry[key("league")];
        groups.Add(Utf8(league[key("country")]), Utf8(league[key("name")]), std::move(match));
    }
    Conclude(result, groups.Take(), static_cast<int>(fixtures.toArray().size()), "API-Football");
    return result;
}

}  // namespace caltrix::feed
