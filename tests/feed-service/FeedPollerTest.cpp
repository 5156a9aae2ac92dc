#include "feed/service/FeedPoller.h"
#include "feed/service/PollSchedule.h"

#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QSignalSpy>

namespace caltrix::feed {
namespace {

using namespace std::chrono_literals;
using testing::HttpAnswer;

// Kicking off now: the poller keeps the matches of the local day only.
const QByteArray kOneMatch = R"({"matches": [{
    "area": {"name": "Italy"}, "competition": {"name": "Serie A"}, "utcDate": ")" +
                             QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toLatin1() + R"(",
    "status": "IN_PLAY", "minute": 67,
    "score": {"duration": "REGULAR", "fullTime": {"home": 1, "away": 0}, "halfTime": {"home": 0, "away": 0}},
    "homeTeam": {"name": "Juventus FC", "shortName": "Juventus"}, "awayTeam": {"name": "Torino FC", "shortName": "Torino"}}]})";

HttpAnswer json(const QByteArray& body, int status = 200) { return testing::Answer(status, body, "application/json"); }

class FeedPollerTest : public ::testing::Test {
protected:
    std::unique_ptr<FeedPoller> Poller(const QString& base, PollLimits limits = {},
                                       FeedKind kind = FeedKind::FootballData) {
        FeedSettings settings;
        settings.kind = kind;
        settings.key = QStringLiteral("s3cret-key");
        settings.url = base;
        settings.competitions = QStringList{QStringLiteral("SA"), QStringLiteral("PL")};
        auto poller = std::make_unique<FeedPoller>(ProviderFor(kind), settings, 50ms, limits);
        m_spy = std::make_unique<QSignalSpy>(poller.get(), &FeedPoller::PollFinished);
        return poller;
    }
    // Waits for the next poll to end.
    void NextPoll() { ASSERT_TRUE(m_spy->wait(5000)); }
    static QString Fault(const FeedPoller& poller) {
        return poller.Status(std::chrono::sys_seconds{}).value(QStringLiteral("fault")).toString();
    }

    QString Base() const { return m_provider.BaseUrl().toString(); }
    // The key each request carried, and its address.
    QByteArray Key(int request) const { return m_provider.Requests().at(request).Header("X-Auth-Token"); }
    QUrl Url(int request) const { return m_provider.Requests().at(request).Url(); }

    testing::TestHttpServer m_provider;
    std::unique_ptr<QSignalSpy> m_spy;
};

TEST_F(FeedPollerTest, SendsTheKeyAndKeepsTheLastGoodModelThroughFaults) {
    m_provider.ServeAny(json(kOneMatch));
    PollLimits outdatedAtOnce;
    outdatedAtOnce.outdatedAfter = 0s;
    auto poller = Poller(Base(), outdatedAtOnce);
    QSignalSpy pageChanged(poller.get(), &MatchSource::PageChanged);
    poller->Start();
    NextPoll();
    NextPoll();  // the same answer again: the page has not changed
    EXPECT_EQ(pageChanged.count(), 1);
    ASSERT_TRUE(poller->LastGood());
    EXPECT_EQ(poller->LastGood()->competitions.at(0).matches.at(0).home, "Juventus");
    EXPECT_NE(poller->Current(), nullptr);
    ASSERT_FALSE(m_provider.Requests().empty());
    EXPECT_EQ(Key(0), "s3cret-key");
    EXPECT_EQ(Url(0).path(), QStringLiteral("/v4/matches"));
    EXPECT_TRUE(Url(0).query().endsWith(QStringLiteral("&competitions=SA,PL")));

    // The provider's own message, quoted and cut; a refused key told apart
    // from a resource outside the plan.
    const std::vector<std::pair<HttpAnswer, QString>> faults{
        {json(R"({"message": "Your API token is invalid.", "errorCode": 400})", 400),
         R"(key refused (HTTP 400): "Your API token is invalid.")"},
        {json(R"({"message": "The resource you are looking for is restricted and apparently not within )"
              R"(your permissions. Please check your subscription.", "errorCode": 403})",
              403),
         R"(outside the key's plan (HTTP 403): "The resource you are looking for is restricted)"},
        {json("{\"matches\": ["), "answer not usable"},
        {json("oops\n" + QByteArray(300, 'x'), 500), "HTTP 500: \"oops " + QString(195, QLatin1Char('x')) + "...\""},
    };
    bool firstMiss = true;
    for (const auto& [answer, fault] : faults) {
        m_provider.ServeAny(answer);
        NextPoll();
        EXPECT_TRUE(Fault(*poller).startsWith(fault)) << Fault(*poller).toStdString();
        ASSERT_TRUE(poller->LastGood());
        EXPECT_EQ(poller->LastGood()->competitions.at(0).matches.at(0).away, "Torino");
        // Outdated only from the second missed poll on, however old.
        EXPECT_EQ(poller->Current() != nullptr, firstMiss);
        firstMiss = false;
    }
    EXPECT_EQ(pageChanged.count(), 1);
    m_provider.ServeAny(json(kOneMatch));
    NextPoll();
    EXPECT_TRUE(Fault(*poller).isEmpty());
    EXPECT_NE(poller->Current(), nullptr);
    EXPECT_EQ(pageChanged.count(), 2);  // back after faults
}

TEST_F(FeedPollerTest, PollsFootballDataEveryTwentySecondsWhileAMatchRuns) {
    m_provider.ServeAny(json(kOneMatch));
    FeedSettings settings;
    settings.kind = FeedKind::FootballData;
    settings.url = Base();
    FeedPoller poller(ProviderFor(FeedKind::FootballData), settings, std::nullopt);
    QSignalSpy finished(&poller, &FeedPoller::PollFinished);
    poller.Start();
    ASSERT_TRUE(finished.wait(5000));
    const int next = poller.Status(UtcNow())[QStringLiteral("nextPollSeconds")].toInt();
    EXPECT_GT(next, 15);
    EXPECT_LE(next, 20);
}

TEST_F(FeedPollerTest, WaitsAsLongAsTheRateLimitResetSays) {
    HttpAnswer rateLimited = json("{}", 429);
    rateLimited.headers = {{"X-RequestCounter-Reset", "1"}};
    m_provider.ServeAny(rateLimited);
    auto poller = Poller(Base());
    poller->Start();
    NextPoll();
    EXPECT_EQ(Fault(*poller), QStringLiteral("rate limit reached (HTTP 429)"));
    m_provider.ServeAny(json(kOneMatch));
    QElapsedTimer clock;
    clock.start();
    NextPoll();
    EXPECT_GE(clock.elapsed(), 800);  // not the 50 ms interval
    EXPECT_TRUE(poller->LastGood());

    // API-Football's daily limit in the body, without its header: until its reset.
    m_provider.ServeAny(
        json(R"({"errors": {"requests": "You have reached the request limit for the day"}, "response": []})"));
    auto limited = Poller(Base(), {}, FeedKind::ApiFootball);
    limited->Start();
    NextPoll();
    EXPECT_TRUE(Fault(*limited).startsWith(QStringLiteral("daily limit reached")));
    EXPECT_GE(limited->Status(UtcNow())[QStringLiteral("nextPollSeconds")].toInt(),
              UntilDailyReset(UtcNow()).count() - 5);
}

TEST_F(FeedPollerTest, AsksOpenLigaDbForTheMatchdayOfEachLeagueWithoutAKey) {
    m_provider.ServeAny(
        json(R"([{"matchID": 1, "leagueName": "2. Fußball-Bundesliga 2026/2027", "leagueShortcut": "bl2",
            "matchDateTimeUTC": "2026-12-07T12:00:00Z", "matchIsFinished": true,
            "team1": {"teamName": "Hertha BSC", "shortName": "Hertha"}, "team2": {"teamName": "FC Schalke 04", "shortName": "Schalke"},
            "matchResults": [{"resultTypeID": 2, "pointsTeam1": 2, "pointsTeam2": 2}], "goals": []}])"));
    auto poller = Poller(Base(), {}, FeedKind::OpenLigaDb);
    poller->Start();
    NextPoll();
    ASSERT_EQ(m_provider.Requests().size(), 2u);
    EXPECT_EQ(Url(0).path(), QStringLiteral("/getmatchdata/SA"));
    EXPECT_EQ(Url(1).path(), QStringLiteral("/getmatchdata/PL"));
    EXPECT_TRUE(Key(0).isEmpty());
    ASSERT_TRUE(poller->LastGood());
    EXPECT_EQ(poller->LastGood()->competitions.size(), 2u);  // one per answer
    EXPECT_EQ(poller->LastGood()->competitions[1].matches.at(0).score.away, 2);
}

TEST_F(FeedPollerTest, CutsOffAHangingProviderAndAnOversizedAnswer) {
    HttpAnswer hanging;  // answers long after the poller gives up
    hanging.delayMs = 60000;
    m_provider.ServeAny(hanging);
    auto poller = Poller(Base(), {300ms, 1000});
    poller->Start();
    NextPoll();
    EXPECT_TRUE(Fault(*poller).startsWith(QStringLiteral("no complete answer within 0.3 s")));

    m_provider.ServeAny(json(QByteArray(5000, ' ') + kOneMatch));
    auto capped = Poller(Base(), {300ms, 1000});
    capped->Start();
    NextPoll();
    EXPECT_TRUE(Fault(*capped).startsWith(QStringLiteral("answer larger than the cap")));
    EXPECT_FALSE(capped->LastGood());
}

}  // namespace
}  // namespace caltrix::feed
