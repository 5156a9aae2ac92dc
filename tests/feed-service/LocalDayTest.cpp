#include "feed/service/LocalDay.h"
#include "feed/service/Provider.h"

#include <gtest/gtest.h>

#include <QUrlQuery>

namespace caltrix::feed {
namespace {

using namespace std::chrono;

// 22:30 on 7 December in São Paulo (UTC-3), already the 8th in UTC.
const sys_seconds kEveningInBrazil = sys_days(2026y / December / 8) + 1h + 30min;

FeedSettings brazil(FeedKind kind) {
    FeedSettings settings;
    settings.kind = kind;
    settings.timeZone = QTimeZone("America/Sao_Paulo");
    settings.competitions = kind == FeedKind::FootballData ? QStringList{QStringLiteral("BSA")} : QStringList{};
    return settings;
}

QString query(FeedKind kind) {
    const FeedSettings settings = brazil(kind);
    return RequestUrls(ProviderFor(kind), settings, LocalDayAt(kEveningInBrazil, settings.timeZone)).at(0).query();
}

TEST(LocalDay, ProvidersAreAskedForTheScreensDayAndOnlyItsMatchesAreKept) {
    const LocalDay day = LocalDayAt(kEveningInBrazil, QTimeZone("America/Sao_Paulo"));
    EXPECT_EQ(day.date, QDate(2026, 12, 7));
    EXPECT_EQ(day.start, sys_days(2026y / December / 7) + 3h);
    EXPECT_EQ(day.end, sys_days(2026y / December / 8) + 3h);
    EXPECT_EQ(query(FeedKind::FootballData), QStringLiteral("dateFrom=2026-12-07&dateTo=2026-12-09&competitions=BSA"));
    EXPECT_EQ(query(FeedKind::ApiFootball), QStringLiteral("date=2026-12-07&timezone=America/Sao_Paulo"));

    const auto at = [](sys_seconds kickoff) {
        Match match;
        match.kickoff = kickoff;
        return match;
    };
    MatchModel model{{{"Brazil", "Série A", {at(day.start - 1s), at(kEveningInBrazil - 1h), at(day.end)}},
                      {"Brazil", "Série B", {at(day.end + 1h)}}}};
    KeepMatchesOf(day, model);
    ASSERT_EQ(model.competitions.size(), 1u);
    ASSERT_EQ(model.competitions[0].matches.size(), 1u);  // the 21:30 kick-off
    EXPECT_EQ(UtcOffset(QTimeZone("Asia/Tokyo"), kEveningInBrazil), 9h);
}

}  // namespace
}  // namespace caltrix::feed
