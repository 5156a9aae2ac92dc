// What the source readers share: the JSON body as an object, fields that may
// be missing or null, and the grouping of matches into competitions.
#pragma once

#include "feed/sources/SourceResult.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <QLatin1String>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace caltrix::feed {

inline QLatin1String key(const char* name) { return QLatin1String(name); }

// The body as a JSON document; nullopt with `error` set for malformed or
// truncated JSON.
std::optional<QJsonDocument> BodyDocument(const QByteArray& body, std::string& error);

// The body's top-level object; nullopt with `error` set for malformed or
// truncated JSON, or JSON that is not an object.
std::optional<QJsonObject> BodyObject(const QByteArray& body, std::string& error);

// A whole number from 0 up, or the leading number of a text such as "45+2";
// nullopt for anything else (null, missing, negative, a fraction).
std::optional<int> WholeNumber(const QJsonValue& value);

// An ISO 8601 date and time with its offset ("2026-12-07T19:45:00Z",
// "2026-12-07T20:45:00+01:00"); nullopt when missing or malformed.
std::optional<std::chrono::sys_seconds> Instant(const QJsonValue& value);

// The `home` and `away` numbers of an object; a side without one stays empty.
Score ScoreOf(const QJsonValue& value);

std::string Utf8(const QJsonValue& value);

// The state for a status value that the reader does not know: running when a
// minute or a score says that the match is being played, else not started.
// A non-empty value goes into the result's unknown statuses, each value once
// and at most kMaxUnknownStatuses of them, so a broken answer cannot flood
// the log.
inline constexpr std::size_t kMaxUnknownStatuses = 16;
MatchState UnknownState(SourceResult& result, const std::string& status, const Match& match);

// Groups matches into competitions by area and name, the competitions in the
// order they first appear. Finding a competition is a look-up, so an answer
// of many competitions costs no more than reading it.
class CompetitionGroups {
public:
    void Add(const std::string& area, const std::string& name, Match match);
    MatchModel Take() { return std::move(m_model); }

private:
    MatchModel m_model;
    std::map<std::pair<std::string, std::string>, std::size_t> m_positions;
};

// The messages in an error value, on one line: members of an object as
// "name: message", the elements of an array one by one, separated by "; ".
std::string ProviderMessages(const QJsonValue& errors);

// A provider's message as a log line carries it: control characters as
// spaces, cut to 200 bytes (whole UTF-8 characters), in double quotes.
std::string Quoted(std::string_view message);

// "key refused", "outside the key's plan", ... for the start of a fault line.
std::string RefusalText(Refusal refusal);

// Sets `result.model` to `model`, or the error when the response listed
// matches (`listed`) and none of them was usable.
void Conclude(SourceResult& result, MatchModel model, int listed, const char* provider);

}  // namespace caltrix::feed
