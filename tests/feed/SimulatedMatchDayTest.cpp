#include "feed/model/PageWriter.h"
#include "feed/sources/SimulatedMatchDay.h"

#include <gtest/gtest.h>

#include <set>

namespace caltrix::feed {
namespace {

bool isOver(MatchState state) {
    return state == MatchState::Finished || state == MatchState::FinishedAfterExtraTime ||
           state == MatchState::FinishedOnPenalties;
}

TEST(SimulatedMatchDay, EveryMatchGoesThroughItsDayInOrder) {
    const SimulatedMatchDay day;
    MatchModel previous = day.ModelAt(0);
    for (int minute = 1; minute < SimulatedMatchDay::kDayMinutes; ++minute) {
        const MatchModel model = day.ModelAt(minute);
        for (std::size_t c = 0; c < model.competitions.size(); ++c) {
            for (std::size_t m = 0; m < model.competitions[c].matches.size(); ++m) {
                const Match& match = model.competitions[c].matches[m];
                const Match& before = previous.competitions[c].matches[m];
                if (match.minute && before.minute) {
                    EXPECT_GE(*match.minute, *before.minute) << c << "/" << m;
                }
                EXPECT_LE(match.minute.value_or(0), 120);
                if (isOver(before.state)) {
                    EXPECT_EQ(match.state, before.state);  // once over, a match stays over
                }
                const bool played = match.state != MatchState::NotStarted && match.state != MatchState::Postponed;
                EXPECT_EQ(match.score.home.has_value(), played);
            }
        }
        previous = model;
    }
}

TEST(SimulatedMatchDay, ThePageAlwaysHoldsEveryKindOfLine) {
    const SimulatedMatchDay day;
    std::set<MatchState> states;
    for (int minute = 0; minute < SimulatedMatchDay::kDayMinutes; minute += 5)
        for (const auto& competition : day.ModelAt(minute).competitions)
            for (const auto& match : competition.matches) states.insert(match.state);
    for (MatchState state :
         {MatchState::NotStarted, MatchState::FirstHalf, MatchState::HalfTime, MatchState::SecondHalf,
          MatchState::ExtraTime, MatchState::Finished, MatchState::FinishedAfterExtraTime,
          MatchState::FinishedOnPenalties, MatchState::Postponed, MatchState::Suspended})
        EXPECT_TRUE(states.count(state)) << static_cast<int>(state);
    // The day repeats, and kick-offs and "now" are instants of the same day.
    EXPECT_EQ(SimulatedMatchDay::InstantAt(60), SimulatedMatchDay::InstantAt(60 + SimulatedMatchDay::kDayMinutes));
    const std::string page = WritePage(day.ModelAt(60), SimulatedMatchDay::InstantAt(60));
    EXPECT_NE(page.find("<td class=title colspan=4>Italy - Serie A</td>\n"), std::string::npos);
    EXPECT_NE(page.find("Brighton &amp; Hove Albion"), std::string::npos);
}

}  // namespace
}  // namespace caltrix::feed
