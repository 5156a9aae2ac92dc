// What the source readers share: the JSON body as an object, fields that may
// be missing or null, and the grouping of matches into competitions.
#pragma once

#include "app/feed/sources/SourceResult.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>

#include <chrono>
#include <optional>
#include <string>

namespace caltrix::feed {

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
// A non-empty value goes into the result's unknown statuses, each value once.
MatchState UnknownState(SourceResult& result, const std::string& status, const Match& match);

// Adds `match` to the competition of that area and name, appending the
// competition when it is new, so competitions keep the order they first
// appear in.
void AddMatch(MatchModel& model, const std::string& area, const std::string& name, Match match);

// Sets `result.model` to `model`, or the error when the response listed
// matches (`listed`) and none of them was usable.
void Conclude(SourceResult& result, MatchModel model, int listed, const char* provider);

}  // namespace caltrix::feed
