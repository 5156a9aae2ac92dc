#include "feed/sources/MatchJsonReader.h"

#include "feed/sources/ReaderSupport.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

#include <array>
#include <utility>

namespace caltrix::feed {
namespace {

// The format's name of every state.
constexpr std::array<std::pair<MatchState, const char*>, 16> kStateNames = {{
    {MatchState::NotStarted, "not-started"},
    {MatchState::FirstHalf, "first-half"},
    {MatchState::HalfTime, "half-time"},
    {MatchState::SecondHalf, "second-half"},
    {MatchState::ExtraTime, "extra-time"},
    {MatchState::BreakInExtraTime, "break-in-extra-time"},
    {MatchState::PenaltyShootout, "penalty-shootout"},
    {MatchState::Running, "running"},
    {MatchState::Finished, "finished"},
    {MatchState::FinishedAfterExtraTime, "finished-after-extra-time"},
    {MatchState::FinishedOnPenalties, "finished-on-penalties"},
    {MatchState::Postponed, "postponed"},
    {MatchState::Suspended, "suspended"},
    {MatchState::Cancelled, "cancelled"},
    {MatchState::Abandoned, "abandoned"},
    {MatchState::Awarded, "awarded"},
}};

std::optional<MatchState> stateNamed(const std::string& name) {
    for (const auto& [state, stateName] : kStateNames)
        if (name == stateName) return state;
    return std::nullopt;
}

const char* nameOf(MatchState state) {
    for (const auto& [named, name] : kStateNames)
        if (named == state) return name;
    return "running";
}

std::optional<Match> readMatch(const QJsonValue& entry, SourceResult& result) {
    const auto kickoff = Instant(entry[key("kickoff")]);
    Match match;
    match.home = Utf8(entry[key("home")]);
    match.away = Utf8(entry[key("away")]);
    if (!kickoff || match.home.empty() || match.away.empty()) return std::nullopt;
    match.kickoff = *kickoff;
    match.minute = WholeNumber(entry[key("minute")]);
    match.score = ScoreOf(entry[key("score")]);
    match.halfTime = ScoreOf(entry[key("halfTime")]);
    const std::string state = Utf8(entry[key("state")]);
    const auto known = stateNamed(state);
    match.state = known ? *known : UnknownState(result, state, match);
    return match;
}

QJsonValue number(const std::optional<int>& value) { return value ? QJsonValue(*value) : QJsonValue(); }

QJsonObject scoreObject(const Score& score) {
    return {{key("home"), number(score.home)}, {key("away"), number(score.away)}};
}

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QJsonObject matchObject(const Match& match) {
    QJsonObject object{
        {key("kickoff"),
         QDateTime::fromSecsSinceEpoch(match.kickoff.time_since_epoch().count(), Qt::UTC).toString(Qt::ISODate)},
        {key("state"), QString::fromLatin1(nameOf(match.state))},
        {key("home"), text(match.home)},
        {key("away"), text(match.away)},
        {key("score"), scoreObject(match.score)},
        {key("halfTime"), scoreObject(match.halfTime)},
    };
    if (match.minute) object.insert(key("minute"), *match.minute);
    return object;
}

}  // namespace

SourceResult ReadMatchJson(const QByteArray& body) {
    SourceResult result;
    const auto object = BodyObject(body, result.error);
    if (!object) return result;
    const QJsonValue competitions = (*object)[key("competitions")];
    if (!competitions.isArray()) {
        result.error = "the document has no competition list";
        return result;
    }
    CompetitionGroups groups;
    int listed = 0;
    for (const QJsonValue entry : competitions.toArray()) {
        const std::string area = Utf8(entry[key("area")]), name = Utf8(entry[key("name")]);
        const QJsonArray matches = entry[key("matches")].toArray();
        listed += static_cast<int>(matches.size());
        for (const QJsonValue matchEntry : matches) {
            if (auto match = readMatch(matchEntry, result); match && !name.empty())
                groups.Add(area, name, std::move(*match));
        }
    }
    Conclude(result, groups.Take(), listed, "match JSON");
    return result;
}

QByteArray WriteMatchJson(const MatchModel& model) {
    QJsonArray competitions;
    for (const auto& competition : model.competitions) {
        QJsonArray matches;
        for (const auto& match : competition.matches) matches.append(matchObject(match));
        competitions.append(QJsonObject{
            {key("area"), text(competition.area)}, {key("name"), text(competition.name)}, {key("matches"), matches}});
    }
    return QJsonDocument(QJsonObject{{key("competitions"), competitions}}).toJson();
}

}  // namespace caltrix::feed
