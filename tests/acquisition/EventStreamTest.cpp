// The event stream's reader and its reconnection schedule, without sockets.
#include "acquisition/EventStreamParser.h"
#include "acquisition/StreamReconnect.h"

#include <gtest/gtest.h>

#include <vector>

namespace caltrix {
namespace {

std::vector<StreamEvent> feed(EventStreamParser& parser, const std::vector<std::string>& pieces) {
    std::vector<StreamEvent> events;
    for (const std::string& piece : pieces)
        EXPECT_TRUE(parser.Feed(piece, [&](const StreamEvent& event) { events.push_back(event); }));
    return events;
}

TEST(EventStreamParser, ReadsEventsWhateverTheLineEndsAndPieces) {
    EventStreamParser parser;
    // A byte order mark, a CR LF split between pieces, a lone CR, comments,
    // two data lines, an event without data (not dispatched) and one without
    // a type; the id stays until another is given.
    const auto events = feed(parser, {"\xEF\xBB\xBF: hello\r", "\nevent: page\rid: 7\ndata: {\"page\":7}\n\n",
                                      "event: page\n\n", "data:a\ndata: b\nretry: 5\nnonsense\n", "\r\n"});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, "page");
    EXPECT_EQ(events[0].data, "{\"page\":7}");
    EXPECT_EQ(events[0].id, "7");
    EXPECT_EQ(events[1].type, "message");
    EXPECT_EQ(events[1].data, "a\nb");
    EXPECT_EQ(events[1].id, "7");
    EXPECT_EQ(parser.LastEventId(), "7");
}

TEST(EventStreamParser, AStreamCannotMakeItHoldMoreThanItsCaps) {
    const auto broken = [](const std::string& piece, std::size_t times) {
        EventStreamParser parser;
        for (std::size_t i = 0; i < times; ++i)
            if (!parser.Feed(piece, [](const StreamEvent&) { ADD_FAILURE() << "no event expected"; }))
                return parser.Fault();
        return std::string();
    };
    // A first line that never ends, and an event whose data never ends.
    EXPECT_NE(broken("x", EventStreamParser::kMaxLineBytes + 1).find("line longer"), std::string::npos);
    EXPECT_NE(broken("data: 0123456789abcdef\n", 2000).find("event larger"), std::string::npos);
    // Heartbeats alone go on for ever.
    EXPECT_EQ(broken(":\n", 100000), "");
}

TEST(StreamReconnect, DoublesFromOneSecondToAMinuteWithJitterAndRestartsAfterASteadyStream) {
    double random = 0.0;
    StreamReconnect schedule([&] { return random; });
    StreamReconnect::Clock::time_point now{};
    const auto delayMs = [&](auto when) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(when - now).count();
    };

    std::vector<long long> lowest;
    for (int drop = 0; drop < 8; ++drop) lowest.push_back(delayMs(schedule.Dropped(now)));
    EXPECT_EQ(lowest, (std::vector<long long>{500, 1000, 2000, 4000, 8000, 16000, 30000, 30000}));
    random = 0.999;
    EXPECT_NEAR(delayMs(schedule.Dropped(now)), 90000, 100);

    // Open for less than a minute: the series goes on; for a minute: it starts again.
    schedule.Opened(now);
    now += std::chrono::seconds(30);
    EXPECT_NEAR(delayMs(schedule.Dropped(now)), 90000, 100);
    schedule.Opened(now);
    now += std::chrono::seconds(60);
    random = 0.5;
    EXPECT_EQ(delayMs(schedule.Dropped(now)), 1000);

    // A refusal waits ten minutes, up to a tenth more; the next drop starts at 1 s.
    EXPECT_EQ(delayMs(schedule.Refused(now)), 630000);
    EXPECT_EQ(delayMs(schedule.Dropped(now)), 1000);
}

}  // namespace
}  // namespace caltrix
