#include "app/demo/MatchDay.h"

#include <gtest/gtest.h>

#include <set>

namespace caltrix::demo {
namespace {

bool isMinute(const std::string& status) { return !status.empty() && status.back() == '\''; }

TEST(MatchDay, EveryMatchGoesThroughItsDayInOrder) {
    const MatchDay day;
    for (std::size_t c = 0; c < day.CompetitionCount(); ++c) {
        for (std::size_t m = 0; m < day.MatchesIn(c); ++m) {
            MatchState previous = day.State(c, m, 0);
            int lastMinute = 0;
            for (int minute = 1; minute < MatchDay::kDayMinutes; ++minute) {
                const MatchState state = day.State(c, m, minute);
                EXPECT_EQ(state.running, isMinute(state.status));
                if (isMinute(state.status)) {
                    const int matchMinute = std::stoi(state.status);
                    // Minutes only go forward within a day (the day wraps at its end).
                    if (isMinute(previous.status)) {
                        EXPECT_GE(matchMinute, lastMinute) << c << "/" << m;
                    }
                    lastMinute = matchMinute;
                    EXPECT_LE(matchMinute, 120);
                }
                if (previous.status == "FT" || previous.status == "AET" || previous.status == "Pen.") {
                    EXPECT_EQ(state.status, previous.status);  // once over, a match stays over
                }
                previous = state;
            }
        }
    }
}

TEST(MatchDay, ThePageAlwaysHoldsEveryKindOfLine) {
    const MatchDay day;
    std::set<std::string> kinds;
    for (int minute = 0; minute < MatchDay::kDayMinutes; minute += 5) {
        for (std::size_t c = 0; c < day.CompetitionCount(); ++c)
            for (std::size_t m = 0; m < day.MatchesIn(c); ++m) {
                const auto status = day.State(c, m, minute).status;
                kinds.insert(isMinute(status) ? "minute" : status.find(':') != std::string::npos ? "kick-off" : status);
            }
    }
    for (const char* kind : {"minute", "kick-off", "HT", "FT", "AET", "Pen."}) EXPECT_TRUE(kinds.count(kind)) << kind;
    const std::string page = day.Page(60);
    EXPECT_NE(page.find("Postp."), std::string::npos);
    EXPECT_NE(page.find("<td class=title colspan=4>Italy - Serie A</td>\n"), std::string::npos);
    EXPECT_NE(page.find("Brighton &amp; Hove Albion"), std::string::npos);
    EXPECT_NE(page.find("t=new"), std::string::npos);
}

}  // namespace
}  // namespace caltrix::demo
