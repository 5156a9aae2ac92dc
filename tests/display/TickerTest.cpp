#include <gtest/gtest.h>

#include <vector>

#include "display/Ticker.h"

namespace caltrix {
namespace {

TEST(TickerTest, EightyBlanksRunFromOneToSeventyNineThenWrap) {
    Ticker ticker;
    ticker.SetStringa(std::string(80, ' '));
    std::vector<int> starts;
    std::vector<std::string> shown;
    for (int i = 0; i < 80; ++i) {
        starts.push_back(ticker.StringaStart());
        ticker.Step([] {}, [&](const std::string& window) { shown.push_back(window); });
    }
    for (int i = 0; i < 79; ++i) EXPECT_EQ(starts[i], i + 1);
    EXPECT_EQ(starts[79], 1);
    EXPECT_EQ(shown[0], std::string(50, ' '));
    EXPECT_EQ(shown[78], std::string(2, ' '));  // the last window begins at the next-to-last character
}

TEST(TickerTest, ShowsTheCurrentTextButWrapsOnTheLengthNotedAtTheStart) {
    Ticker ticker;
    ticker.SetStringa("ABCDEF");
    ticker.SetStringaStart(3);
    std::string shown;
    // The configuration replaces the text during the first event processing.
    ticker.Step(
        [&] {
            if (ticker.Stringa() == "ABCDEF") ticker.SetStringa("0123456789");
        },
        [&](const std::string& window) { shown = window; });
    EXPECT_EQ(shown, "23456789");
    EXPECT_EQ(ticker.StringaStart(), 4);

    ticker.SetStringa("ABCDEF");
    ticker.SetStringaStart(5);
    ticker.Step([&] { ticker.SetStringa(std::string(100, 'x')); }, [&](const std::string& window) { shown = window; });
    EXPECT_EQ(ticker.StringaStart(), 1);  // 6 > 6 - 1, although the text now has 100 characters
    EXPECT_EQ(shown.size(), 50u);
}

TEST(TickerTest, EventsAreProcessedBeforeShowingAndAfterAdvancing) {
    Ticker ticker;
    ticker.SetStringa("ABC");
    std::vector<std::string> order;
    ticker.Step([&] { order.push_back("events at " + std::to_string(ticker.StringaStart())); },
                [&](const std::string& window) { order.push_back("show " + window); });
    EXPECT_EQ(order, (std::vector<std::string>{"events at 1", "show ABC", "events at 2"}));
    EXPECT_EQ(ticker.StringaStart(), 2);  // 2 is not greater than 3 - 1: no wrap yet
}

TEST(TickerTest, AnEmptyTextShowsNothing) {
    Ticker ticker;
    std::string shown = "unchanged";
    ticker.Step([] {}, [&](const std::string& window) { shown = window; });
    EXPECT_EQ(shown, "");
    EXPECT_EQ(ticker.StringaStart(), 1);
}

TEST(TickerTest, AnInterruptionScrollsInsteadAndTheTextSetMeanwhileComesBackFromItsStart) {
    Ticker ticker;
    ticker.SetStringa("configured");
    ticker.SetStringaStart(5);
    ticker.Interrupt("GOAL");
    ticker.SetStringa("new text");
    std::string shown;
    ticker.Step([] {}, [&](const std::string& window) { shown = window; });
    EXPECT_EQ(shown, "GOAL");
    ticker.EndInterruption();
    EXPECT_EQ(ticker.Window(), "new text");
}

}  // namespace
}  // namespace caltrix
