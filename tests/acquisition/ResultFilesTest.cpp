#include "acquisition/ResultFiles.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

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
