#include "acquisition/core/LineRules.h"

#include "common/Text1252.h"

#include <gtest/gtest.h>

#include <random>

namespace caltrix {
namespace {

TEST(LineRules, DateLinesStartWithAMonth) {
    for (const char* line : {"May 5", "March 3", "January 1", "Dece", "Sept 9", "June"}) {
        EXPECT_TRUE(IsDateLine(line)) << line;
    }
    // Mayo: fourth character not a space; Marcianise: fifth not "h"; lower case differs.
    for (const char* line : {"Mayo", "May", "Marcianise", "Marc", "may 5", "", "FT"}) {
        EXPECT_FALSE(IsDateLine(line)) << line;
    }
}

TEST(LineRules, StatusStartsOpenAMatch) {
    for (const char* line : {"Postp.", "Susp.", "Pen", "Pen.", "Pen 4-3", "67'", " 5'", "90+2'", "19:30", "FT", "AET",
                             "HT", "1 FT", "<FT>", "FT."}) {
        EXPECT_TRUE(IsStatusStart(line)) << line;
    }
    // The marks count only near the start of the line, status words only as
    // whole words, and an apostrophe only after a minute.
    for (const char* line : {"Juventus", "Pe", "Lazio FT", "abcde:", "post", "1234'", "Penafiel", "FTC", "AFT",
                             "FT\xE9", "Postojna", "M'gladbach", "Sant'Elia", "Getafe", "Betis", "HTX"}) {
        EXPECT_FALSE(IsStatusStart(line)) << line;
    }
}

TEST(LineRules, NameSubstitutionsRunInOrder) {
    // "Inter Milan" goes first, so "AC Milan" is still found after it.
    EXPECT_EQ(ProcessedLine("Inter Milan - AC Milan"), "Inter - Milan");
    EXPECT_EQ(ProcessedLine("AS Roma&nbsp;"), "Roma");
    EXPECT_EQ(ProcessedLine("Inter&nbsp; Milan"), "Inter");  // "&nbsp;" removed before the names
    EXPECT_EQ(ProcessedLine("L'Aquila - Maccabi Petah Tikva"),
              "L\xB4"
              "Aquila - Maccabi P. Tikva");
    EXPECT_EQ(ProcessedLine("Sant'Elia"), "Sant'Elia");
}

TEST(LineRules, TitlesGetEveryApostropheAsAcuteButKeepLongNames) {
    EXPECT_EQ(TitleText("Cote d'Ivoire - Ligue 1"), "Cote d\xB4Ivoire - Ligue 1");
    EXPECT_EQ(TitleText("Israel - Maccabi Petah&nbsp;Cup"), "Israel - Maccabi PetahCup");
    EXPECT_EQ(TitleText("Israel - Maccabi Petah Cup"), "Israel - Maccabi Petah Cup");
}

// Lines made of pieces of the patterns, so that matches are frequent, overlap
// and appear only once an earlier step has removed "&nbsp;".
TEST(LineRules, ProcessedLineMatchesTheStepsOneByOne) {
    const std::string_view pieces[] = {"&nbsp;",  "Inter",  " Milan", "AC",  "AS Roma", "L'Aquila", "L'",
                                       "Maccabi", " Petah", "&nb",    "sp;", " ",       "x",        "'"};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        for (std::size_t n = random() % 8; n > 0; --n) line += pieces[pick(random)];
        std::string expected = ReplaceAll(line, "&nbsp;", "");
        expected = ReplaceAll(expected, "Inter Milan", "Inter");
        expected = ReplaceAll(expected, "AC Milan", "Milan");
        expected = ReplaceAll(expected, "AS Roma", "Roma");
        expected = ReplaceAll(expected, "L'Aquila",
                              "L\xB4"
                              "Aquila");
        expected = ReplaceAll(expected, "Maccabi Petah", "Maccabi P.");
        ASSERT_EQ(ProcessedLine(line), expected) << line;
    }
}

}  // namespace
}  // namespace caltrix
