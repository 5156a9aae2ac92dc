#include "feed/sources/ApiFootballReader.h"

#include "feed/sources/ReaderSupport.h"

#include <QJsonArray>
#include <QVariant>

#include <algorithm>
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

// Adds the messages in `value` to `text`, separated by "; ": members of an
// object as "name: message", the elements of an array one by one.
void addMessages(const QJsonValue& value, const std::string& prefix, std::string& text) {
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            addMessages(it.value(), prefix + it.key().toStdString() + ": ", text);
    } else if (value.isArray()) {
        for (const QJsonValue element : value.toArray()) addMessages(element, prefix, text);
    } else {
        text += (text.empty() ? "" : "; ") + prefix + value.toVariant().toString().toStdString();
    }
}

// The provider's messages from a non-empty `errors` object or array, on one
// line; empty when there are none.
std::string errorMessages(const QJsonValue& errors) {
    std::string text;
    if (errors.isObject() || errors.isArray()) addMessages(errors, "", text);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

SourceResult ReadApiFootball(const QByteArray& body) {
    SourceResult result;
    const auto object = BodyObject(body, result.error);
    if (!object) return result;
    if (const std::string errors = errorMessages((*object)[key("errors")]); !errors.empty()) {
        result.error = "the provider refused the request: " + errors;
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
