#include "feed/sources/ReaderSupport.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonArray>
#include <QRegularExpression>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace caltrix::feed {

std::optional<QJsonDocument> BodyDocument(const QByteArray& body, std::string& error) {
    QJsonParseError parseError{};
    QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error == QJsonParseError::NoError) return document;
    error =
        "malformed JSON at byte " + std::to_string(parseError.offset) + ": " + parseError.errorString().toStdString();
    return std::nullopt;
}

std::optional<QJsonObject> BodyObject(const QByteArray& body, std::string& error) {
    const auto document = BodyDocument(body, error);
    if (!document) return std::nullopt;
    if (!document->isObject()) {
        error = "the response is not a JSON object";
        return std::nullopt;
    }
    return document->object();
}

std::optional<int> WholeNumber(const QJsonValue& value) {
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (std::floor(number) != number || number < 0 || number > 1e6) return std::nullopt;
        return static_cast<int>(number);
    }
    if (value.isString()) {
        static const QRegularExpression leadingNumber(QStringLiteral("^\\s*(\\d{1,6})"));
        const auto match = leadingNumber.match(value.toString());
        if (match.hasMatch()) return match.captured(1).toInt();
    }
    return std::nullopt;
}

std::optional<std::chrono::sys_seconds> Instant(const QJsonValue& value) {
    const QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODate);
    if (!time.isValid()) return std::nullopt;
    return std::chrono::sys_seconds(std::chrono::seconds(time.toSecsSinceEpoch()));
}

Score ScoreOf(const QJsonValue& value) {
    return {WholeNumber(value[QLatin1String("home")]), WholeNumber(value[QLatin1String("away")])};
}

std::string Utf8(const QJsonValue& value) { return value.toString().toStdString(); }

MatchState UnknownState(SourceResult& result, const std::string& status, const Match& match) {
    auto& unknown = result.unknownStatuses;
    if (!status.empty() && unknown.size() < kMaxUnknownStatuses &&
        std::find(unknown.begin(), unknown.end(), status) == unknown.end())
        unknown.push_back(status);
    const bool played = match.minute || match.score.home || match.score.away;
    return played ? MatchState::Running : MatchState::NotStarted;
}

void CompetitionGroups::Add(const std::string& area, const std::string& name, Match match) {
    auto& competitions = m_model.competitions;
    const auto [position, added] = m_positions.try_emplace({area, name}, competitions.size());
    if (added) competitions.push_back(Competition{area, name, {}});
    competitions[position->second].matches.push_back(std::move(match));
}

namespace {

void addMessages(const QJsonValue& value, const std::string& prefix, std::string& text) {
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            addMessages(it.value(), prefix + it.key().toStdString() + ": ", text);
    } else if (value.isArray()) {
        for (const QJsonValue element : value.toArray()) addMessages(element, prefix, text);
    } else if (!value.isNull() && !value.isUndefined()) {
        text += (text.empty() ? "" : "; ") + prefix + value.toVariant().toString().toStdString();
    }
}

}  // namespace

std::string ProviderMessages(const QJsonValue& errors) {
    std::string text;
    addMessages(errors, "", text);
    return text;
}

std::string Quoted(std::string_view message) {
    constexpr std::size_t kMaxBytes = 200;
    std::size_t end = std::min(message.size(), kMaxBytes);
    // Not in the middle of a UTF-8 sequence.
    if (end < message.size())
        while (end > 0 && (static_cast<unsigned char>(message[end]) & 0xC0) == 0x80) --end;
    std::string text(message.substr(0, end));
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
    return "\"" + text + (end < message.size() ? "...\"" : "\"");
}

std::string RefusalText(Refusal refusal) {
    switch (refusal) {
    case Refusal::Key:
        return "key refused";
    case Refusal::Plan:
        return "outside the key's plan";
    case Refusal::DailyLimit:
        return "daily limit reached";
    case Refusal::RateLimit:
        return "rate limit reached";
    case Refusal::None:
    case Refusal::Other:
        break;
    }
    return "the provider refused the request";
}

void Conclude(SourceResult& result, MatchModel model, int listed, const char* provider) {
    int usable = 0;
    for (const auto& competition : model.competitions) usable += static_cast<int>(competition.matches.size());
    if (listed > 0 && usable == 0) {
        result.error = std::string("none of the ") + std::to_string(listed) + " matches in the " + provider +
                       " response is usable (kick-off or team names missing)";
        return;
    }
    result.model = std::move(model);
}

}  // namespace caltrix::feed
