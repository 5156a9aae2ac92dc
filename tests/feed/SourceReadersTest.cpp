#include "feed/sources/ApiFootballReader.h"
#include "feed/sources/FootballDataReader.h"
#include "feed/sources/MatchJsonReader.h"
#include "feed/sources/OpenLigaDbReader.h"
#include "feed/sources/SimulatedMatchDay.h"
#include "feed/model/PageWriter.h"

#include <QFile>

#include <gtest/gtest.h>

namespace caltrix::feed {
namespace {

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(CALTRIX_FEED_FIXTURES "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

std::string describe(const Match& match) {
    const auto side = [](const std::optional<int>& goals) { return goals ? std::to_string(*goals) : "?"; };
    return std::to_string(static_cast<int>(match.state)) + " " + (match.minute ? std::to_string(*match.minute) : "-") +
           " " + match.home + " " + side(match.score.home) + "-" + side(match.score.away) + " " + match.away;
}

std::vector<std::string> describe(const MatchModel& model) {
    std::vector<std::string> lines;
    for (const auto& competition : model.competitions) {
        lines.push_back(competition.area + " / " + competition.name);
        for (const auto& match : competition.matches) lines.push_back(describe(match));
    }
    return lines;
}

std::string state(MatchState value) { return std::to_string(static_cast<int>(value)); }

TEST(FootballDataReader, GroupsByCompetitionAndKeepsWhatIsUsable) {
    const SourceResult result = ReadFootballData(fixture("football-data.json"));
    ASSERT_TRUE(result.model) << result.error;
    EXPECT_EQ(describe(*result.model), (std::vector<std::string>{
                                           "Italy / Serie A",
                                           state(MatchState::Running) + " 67 Juventus 2-1 Inter",
                                           // Penalties come off the full-time score.
                                           state(MatchState::FinishedOnPenalties) + " - Napoli 2-2 Lazio",
                                           state(MatchState::NotStarted) + " - Milan ?-? Roma",
                                           "England / Premier League",
                                           state(MatchState::HalfTime) + " - Brighton & Hove Albion FC 0-0 Liverpool",
                                           // Unknown status with a score: running; "one" is no number.
                                           state(MatchState::Running) + " - Everton ?-3 Chelsea",
                                       }));
    EXPECT_EQ(
        result.model->competitions[0].matches[0].kickoff,
        std::chrono::sys_days(std::chrono::year{2026} / 12 / 7) + std::chrono::hours(19) + std::chrono::minutes(45));
    EXPECT_EQ(result.unknownStatuses, std::vector<std::string>{"HALF_BAKED"});
}

// The score shown for a football-data match of `duration` with the given
// score nodes (JSON members, e.g. "fullTime": {...}).
std::string footballDataScore(const char* duration, const std::string& nodes) {
    const std::string body = R"({"matches": [{"area": {"name": "Italy"}, "competition": {"name": "Coppa Italia"},
        "utcDate": "2026-12-07T17:00:00Z", "status": "FINISHED", "homeTeam": {"name": "Napoli"},
        "awayTeam": {"name": "Lazio"}, "score": {"duration": ")" +
                             std::string(duration) + "\", " + nodes + "}}]}";
    const SourceResult result = ReadFootballData(QByteArray::fromStdString(body));
    if (!result.model) return result.error;
    const Score score = result.model->competitions.at(0).matches.at(0).score;
    return std::to_string(score.home.value_or(-1)) + "-" + std::to_string(score.away.value_or(-1));
}

TEST(FootballDataReader, ShowsTheScoreWithoutShootOutGoalsAsTheProviderReallyAnswers) {
    // Penalties null or inconsistent: regular plus extra time decide.
    EXPECT_EQ(footballDataScore("PENALTY_SHOOTOUT", R"("fullTime": {"home": 5, "away": 4},
        "regularTime": {"home": 1, "away": 1}, "extraTime": {"home": 0, "away": 0},
        "penalties": {"home": null, "away": null})"),
              "1-1");
    EXPECT_EQ(footballDataScore("PENALTY_SHOOTOUT", R"("fullTime": {"home": 6, "away": 5},
        "regularTime": {"home": 1, "away": 1}, "extraTime": {"home": 0, "away": 0},
        "penalties": {"home": 3, "away": 3})"),
              "1-1");
    EXPECT_EQ(footballDataScore("EXTRA_TIME", R"("fullTime": {"home": 3, "away": 2},
        "regularTime": {"home": 2, "away": 2}, "extraTime": {"home": 1, "away": 0})"),
              "3-2");
    // Without them, penalties come off only when a level score is left.
    EXPECT_EQ(footballDataScore("PENALTY_SHOOTOUT",
                                R"("fullTime": {"home": 6, "away": 5}, "penalties": {"home": 5, "away": 4})"),
              "1-1");
    EXPECT_EQ(footballDataScore("PENALTY_SHOOTOUT",
                                R"("fullTime": {"home": 1, "away": 1}, "penalties": {"home": 4, "away": 3})"),
              "1-1");
    EXPECT_EQ(footballDataScore("REGULAR", R"("fullTime": {"home": 2, "away": 0},
        "regularTime": {"home": 1, "away": 0})"),
              "2-0");
}

TEST(ApiFootballReader, ReadsFixturesWithTheirOffsetsAndUnknownStatuses) {
    const SourceResult result = ReadApiFootball(fixture("api-football.json"));
    ASSERT_TRUE(result.model) << result.error;
    EXPECT_EQ(describe(*result.model), (std::vector<std::string>{
                                           "Turkey / Süper Lig",
                                           state(MatchState::SecondHalf) + " 58 Beşiktaş 1-0 Galatasaray",
                                           state(MatchState::NotStarted) + " - Fenerbahçe ?-? Trabzonspor",
                                           "Poland / Puchar Polski",
                                           state(MatchState::FinishedOnPenalties) + " 120 ŁKS Łódź 2-2 Legia Warszawa",
                                           state(MatchState::NotStarted) + " - Wisła Kraków ?-? Górnik Zabrze",
                                       }));
    EXPECT_EQ(
        result.model->competitions[0].matches[0].kickoff,
        std::chrono::sys_days(std::chrono::year{2026} / 12 / 7) + std::chrono::hours(19) + std::chrono::minutes(45));
    EXPECT_EQ(result.model->competitions[0].matches[0].halfTime.home, 1);
    EXPECT_EQ(result.unknownStatuses, std::vector<std::string>{"XYZ"});
}

TEST(OpenLigaDbReader, ReadsTheMatchdayWithStatesFromTheKickoffAndTheFurthestScore) {
    const auto now = std::chrono::sys_days(std::chrono::year{2026} / 12 / 7) + std::chrono::hours(19);
    const SourceResult result = ReadOpenLigaDb(fixture("openligadb-bl1.json"), now);
    ASSERT_TRUE(result.model) << result.error;
    EXPECT_EQ(describe(*result.model), (std::vector<std::string>{
                                           "Germany / Bundesliga",
                                           state(MatchState::Finished) + " - Bayern 3-1 Gladbach",
                                           // The last goal is ahead of the result: the furthest score counts.
                                           state(MatchState::Running) + " - Köln 2-1 SV Werder Bremen",
                                           state(MatchState::NotStarted) + " - Dortmund ?-? Leipzig",
                                       }));
    EXPECT_EQ(result.model->competitions[0].matches[1].halfTime.away, 1);
    EXPECT_EQ(describe(*ReadOpenLigaDb(fixture("openligadb-bl1.json"), now + std::chrono::hours(1)).model).back(),
              state(MatchState::Running) + " - Dortmund 0-0 Leipzig");
}

TEST(SourceReaders, RefusalsAndBrokenBodiesGiveAnErrorAndNoModel) {
    const auto refused = ReadApiFootball(fixture("api-football-refused.json"));
    EXPECT_FALSE(refused.model);
    EXPECT_EQ(refused.refusal, Refusal::Key);
    EXPECT_EQ(refused.error.rfind("key refused: \"token: Error/Missing application key.", 0), 0) << refused.error;
    EXPECT_LE(refused.error.size(), std::string("key refused: \"...\"").size() + 200);
    const auto limited = ReadApiFootball(
        R"({"errors": [{"requests": "You have reached the request limit for the day,\nGo to ..."}], "response": []})");
    EXPECT_EQ(limited.refusal, Refusal::DailyLimit);
    EXPECT_EQ(limited.error,
              "daily limit reached: \"requests: You have reached the request limit for the day, Go to ...\"");
    // The free plan's answer (HTTP 200) for a current season: the log line quotes it.
    const auto outsidePlan = ReadApiFootball(
        R"({"get": "fixtures", "errors": {"plan": "Free plans do not have access to this season, try from 2022 to 2024."}, "results": 0, "response": []})");
    EXPECT_EQ(outsidePlan.refusal, Refusal::Plan);
    EXPECT_EQ(outsidePlan.error,
              "outside the key's plan: \"plan: Free plans do not have access to this season, try from 2022 to 2024.\"");
    EXPECT_TRUE(ReadApiFootball(R"({"errors": {}, "response": []})").model);  // no matches today

    const QByteArray whole = fixture("football-data.json");
    using Reader = SourceResult (*)(const QByteArray&);
    const Reader readOpenLigaDb = [](const QByteArray& body) { return ReadOpenLigaDb(body, {}); };
    for (Reader read : {Reader(ReadFootballData), Reader(ReadApiFootball), Reader(ReadMatchJson), readOpenLigaDb}) {
        for (const QByteArray& body : {whole.left(whole.size() / 2), QByteArray("[1, 2]"), QByteArray()}) {
            const SourceResult result = read(body);
            EXPECT_FALSE(result.model) << body.left(40).toStdString();
            EXPECT_FALSE(result.error.empty());
        }
    }
    // Matches listed but none usable.
    EXPECT_FALSE(ReadFootballData(R"({"matches": [{"status": "TIMED"}, 7]})").model);
}

TEST(MatchJson, TheSimulatedDayRoundTripsToTheSamePage) {
    const SimulatedMatchDay day;
    for (double minute : {0.0, 75.0, 150.0}) {
        const MatchModel model = day.ModelAt(minute);
        const SourceResult read = ReadMatchJson(WriteMatchJson(model));
        ASSERT_TRUE(read.model) << read.error;
        EXPECT_EQ(describe(*read.model), describe(model));
        EXPECT_EQ(WritePage(*read.model, SimulatedMatchDay::InstantAt(minute)),
                  WritePage(model, SimulatedMatchDay::InstantAt(minute)));
    }
}

}  // namespace
}  // namespace caltrix::feed
