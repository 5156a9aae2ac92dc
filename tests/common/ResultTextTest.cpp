#include "common/ResultText.h"

#include "common/Text1252.h"

#include <gtest/gtest.h>

#include <random>

namespace caltrix {
namespace {

TEST(ClosedText, SubstitutesAndUpperCasesInOrder) {
    struct Case {
        std::string text;
        std::string closed;
    };
    const Case cases[] = {
        {"<Italy - Serie A> ", "<ITALY-SERIE A> "},
        {"Brighton &amp; Hove", "BRIGHTON & HOVE"},
        {"<Germany - Regionalliga> ", "<GERMANY-REG.LIGA> "},  // before upper case, so case-sensitive
        {"<Europe - Champions League - Group A> ", "<EUROPE-CHAMPIONS LEAGUE-GR. A> "},
        {"<Czech Republic - Gambrinus Liga> ", "<CZECH REPUBLIC GAM. LIGA> "},
        {"45' Lazio <1 - 0> Roma ", "45\"LAZIO <1-0> ROMA "},  // the space after the minute goes
        {"Home -Away", "HOME-AWAY"},
        {"<Portugal - Ta\xE7"
         "a de Portugal> ",
         "<PORTUGAL-TA\xC7"
         "A PORTUGAL> "},
        {"\xE0 \xE7 \x9A \xFF", "\xC0 \xC7 \x8A \x9F"},  // à ç š ÿ
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ClosedText(c.text), c.closed) << c.text;
}

// Texts made of pieces of the patterns, so that matches touch, overlap and
// appear only after an earlier step or the upper-casing.
TEST(ClosedText, MatchesTheStepsOneByOne) {
    const std::string_view pieces[] = {" - ",
                                       " -",
                                       "-",
                                       " ",
                                       "'",
                                       "' ",
                                       "&amp;",
                                       "&",
                                       "Regional",
                                       "league",
                                       "-group",
                                       "Republic",
                                       "-Gambrinus",
                                       "Ta\xE7"
                                       "a",
                                       " de Portugal",
                                       "x"};
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (std::size_t n = random() % 10; n > 0; --n) text += pieces[pick(random)];
        std::string expected = ReplaceAll(text, " - ", "-");
        expected = ReplaceAll(expected, "&amp;", "&");
        expected = ReplaceAll(expected, "Regional", "REG.");
        expected = UpperCase1252(expected);
        expected = ReplaceAll(expected, "LEAGUE-GROUP", "LEAGUE-GR.");
        expected = ReplaceAll(expected, "REPUBLIC-GAMBRINUS", "REPUBLIC GAM.");
        expected = ReplaceAll(expected, " -", "-");
        expected = ReplaceAll(expected, "' ", "\"");
        expected = ReplaceAll(expected,
                              "TA\xC7"
                              "A DE PORTUGAL",
                              "TA\xC7"
                              "A PORTUGAL");
        ASSERT_EQ(ClosedText(text), expected) << text;
    }
}

TEST(ResultText, NameSubstitutionsRunInOrder) {
    // "Inter Milan" goes first, so "AC Milan" is still found after it.
    EXPECT_EQ(ProcessedLine("Inter Milan - AC Milan"), "Inter - Milan");
    EXPECT_EQ(ProcessedLine("AS Roma&nbsp;"), "Roma");
    EXPECT_EQ(ProcessedLine("Inter&nbsp; Milan"), "Inter");  // "&nbsp;" removed before the names
    EXPECT_EQ(ProcessedLine("L'Aquila - Maccabi Petah Tikva"),
              "L\xB4"
              "Aquila - Maccabi P. Tikva");
    EXPECT_EQ(ProcessedLine("Sant'Elia"), "Sant'Elia");
}

TEST(ResultText, TitlesGetEveryApostropheAsAcuteButKeepLongNames) {
    EXPECT_EQ(TitleText("Cote d'Ivoire - Ligue 1"), "Cote d\xB4Ivoire - Ligue 1");
    EXPECT_EQ(TitleText("Israel - Maccabi Petah&nbsp;Cup"), "Israel - Maccabi PetahCup");
    EXPECT_EQ(TitleText("Israel - Maccabi Petah Cup"), "Israel - Maccabi Petah Cup");
}

// Lines made of pieces of the patterns, so that matches are frequent, overlap
// and appear only once an earlier step has removed "&nbsp;".
TEST(ResultText, ProcessedLineMatchesTheStepsOneByOne) {
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
