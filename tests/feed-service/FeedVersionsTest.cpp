#include "feed/service/FeedVersions.h"

#include <gtest/gtest.h>

namespace caltrix::feed {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::system_clock;

const Clock::time_point kNoon = Clock::time_point(1796904000000ms);  // 2026-12-10T12:00:00Z

TEST(VersionBook, GivesANewNumberOnlyWhenTheServedBytesChangeAndNeverGoesBack) {
    VersionBook book;
    ASSERT_TRUE(book.Offer("page 1", "01=A;", kNoon));
    const ServedVersions first = book.Versions();
    EXPECT_EQ(first.page, 1796904000000);
    EXPECT_EQ(first.configuration, first.page);

    EXPECT_FALSE(book.Offer("page 1", "01=A;", kNoon + 5s));
    EXPECT_TRUE(book.Offer("page 2", "01=A;", kNoon + 5s));
    EXPECT_EQ(book.Versions().page, first.page + 5000);
    EXPECT_EQ(book.Versions().configuration, first.configuration);
    EXPECT_TRUE(book.Offer(std::nullopt, "01=A;", kNoon + 6s)) << "no page is a change too";

    // Within one millisecond, and with the clock set back, numbers still grow.
    EXPECT_TRUE(book.Offer("page 3", "01=B;", kNoon - 1h));
    EXPECT_EQ(book.Versions().page, first.page + 6001);
    EXPECT_EQ(book.Versions().Latest(), book.Versions().configuration);

    VersionBook restarted;  // a restarted server starts above what it gave before
    restarted.Offer("page 3", "01=B;", kNoon + 10s);
    EXPECT_GT(restarted.Versions().Latest(), book.Versions().Latest());
}

TEST(EventCursor, SendsTheCurrentAtOnceThenEachNewerVersionAndBeats) {
    ServedVersions now{1796904000000, 1796903000000, kNoon};
    EXPECT_EQ(EventText(now),
              "event: page\nid: 1796904000000\ndata: {\"version\":1796904000000,\"page\":1796904000000,"
              "\"config\":1796903000000,\"time\":\"2026-12-10T12:00:00.000Z\"}\n\n");

    EventCursor fresh(std::nullopt);
    std::string out;
    fresh.Next(now, false, out);
    EXPECT_EQ(out, EventText(now));
    out.clear();
    fresh.Next(now, false, out);
    EXPECT_EQ(out, "") << "nothing new: the stream waits";
    fresh.Next(now, true, out);
    EXPECT_EQ(out, kKeepAliveText);
    out.clear();
    now.page += 4000;
    fresh.Next(now, true, out);
    EXPECT_EQ(out, EventText(now)) << "an event stands for the beat";

    std::string upToDate, missed, unknown;
    EventCursor(now.Latest()).Next(now, false, upToDate);
    EXPECT_EQ(upToDate, kKeepAliveText) << "Last-Event-ID is the latest: nothing repeated";
    EventCursor(now.Latest() - 4000).Next(now, false, missed);
    EXPECT_EQ(missed, EventText(now)) << "missed versions: the latest at once";
    EventCursor(now.Latest() + 1).Next(now, false, unknown);
    EXPECT_EQ(unknown, EventText(now)) << "an id this server never gave";
}

TEST(VersionNamed, TakesPlainDigitsOnly) {
    EXPECT_EQ(VersionNamed("1796904000000"), 1796904000000);
    for (const char* text : {"", "-1", "12a", " 12", "0x10", "99999999999999999999"})
        EXPECT_FALSE(VersionNamed(text)) << text;
}

}  // namespace
}  // namespace caltrix::feed
