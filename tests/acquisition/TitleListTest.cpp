#include "acquisition/TitleList.h"
#include "acquisition/TitleMatcher.h"

#include <gtest/gtest.h>

#include <random>

namespace caltrix {
namespace {

TEST(TitleList, FullListDropsTheTitleLeastRecentlySeen) {
    TitleList titles(3);
    for (const char* title : {"A - 1", "B - 2", "C - 3"}) EXPECT_TRUE(titles.Add(title));
    EXPECT_FALSE(titles.Add("A - 1"));  // seen again: now the most recent
    EXPECT_TRUE(titles.Add("D - 4"));
    EXPECT_EQ(titles.size(), 3u);
    EXPECT_FALSE(titles.Contains("B - 2"));
    for (const char* title : {"A - 1", "C - 3", "D - 4"}) EXPECT_TRUE(titles.Contains(title)) << title;
    EXPECT_EQ(titles.entries().front(), "C - 3");
    EXPECT_FALSE(titles.Add("  "));
}

// Titles and lines over a three-letter alphabet, so that titles share
// prefixes, overlap, and end inside one another.
TEST(TitleMatcher, CountsTheDistinctTitlesALineContainsLikeAPlainSearch) {
    std::mt19937 random(5);
    const auto word = [&](std::size_t maxLength) {
        std::string text(1 + random() % maxLength, ' ');
        for (char& c : text) c = "ab\xE0"[random() % 3];
        return text;
    };
    for (int round = 0; round < 200; ++round) {
        TitleList titles;
        for (int i = 0; i < 12; ++i) titles.Add(word(5));
        TitleMatcher matcher(titles);
        for (int i = 0; i < 50; ++i) {
            const std::string line = word(30);
            std::size_t expected = 0;
            for (const std::string& title : titles.entries()) expected += line.find(title) != std::string::npos;
            ASSERT_EQ(matcher.CountContained(line), expected) << line;
        }
    }
}

}  // namespace
}  // namespace caltrix
