#include "acquisition/core/ResultFiles.h"

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

const std::string kCombined =
    "\r\n<ITALY-SERIE A> \r\nFT JUVENTUS <2-1> INTER \r\n   \r\n<ITALY-SERIE B> \r\nHT BARI <0-0> LECCE \r\n"
    "<SPAIN-LA LIGA> \r\n67\"BETIS <1-0> CADIZ \r\n";

TEST(SlotFileText, KeepsTheSelectedCompetitionsInPageOrder) {
    struct Case {
        std::string selz;
        std::string kept;
    };
    const std::string serieA = "<ITALY-SERIE A> \r\nFT JUVENTUS <2-1> INTER \r\n";
    const std::string serieB = "<ITALY-SERIE B> \r\nHT BARI <0-0> LECCE \r\n";
    const std::string liga = "<SPAIN-LA LIGA> \r\n67\"BETIS <1-0> CADIZ \r\n";
    const Case cases[] = {
        {"SERIEA;", serieA},  // spaces and case ignored on both sides
        {"serie a;", serieA},
        {"ITALY;", serieA + serieB},          // every competition of the country
        {"LA LIGA;SERIE A;", serieA + liga},  // page order, not fragment order
        {"SERIEA", ""},                       // no ";": no fragment
        {"LIGA;SERIEA", liga},                // the piece after the last ";" is no fragment
        {";;", serieA + serieB + liga},       // an empty fragment selects everything
        {"", ""},
        {"PREMIER;", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(SlotFileText(kCombined, c.selz), c.kept + "\r\n") << c.selz;
}

TEST(SlotFileText, LinesBeforeTheFirstHeaderAreNeverCopied) {
    EXPECT_EQ(SlotFileText("FT A <1-0> B \r\n<X-Y> \r\nHT C D \r\n", ";;"), "<X-Y> \r\nHT C D \r\n\r\n");
}

TEST(ResultFileNames, UseDecimalNumbers) {
    EXPECT_EQ(CombinedFileName("/p", 7), std::filesystem::path("/p/video7.txt"));
    EXPECT_EQ(SlotFileName("/p", 11), std::filesystem::path("/p/lmVideo11.txt"));
}

}  // namespace
}  // namespace caltrix
