#include "acquisition/LineRules.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace caltrix
