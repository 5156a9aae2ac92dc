#include "acquisition/PageParser.h"
#include "acquisition/ParseError.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

std::string Title(std::string_view text) { return "<td class=title>" + std::string(text) + "</td>"; }
std::string Cell(std::string_view text) { return "<td>" + std::string(text) + "</td>"; }

// The result text of one parse of `page` after collecting its titles.
std::string Parse(const std::vector<std::string>& lines, TitleList& titles) {
    std::string page;
    for (const std::string& line : lines) page += line + "\r\n";
    CercaTitoli(page, titles);
    return ResultText(page, titles);
}

std::string Parse(const std::vector<std::string>& page) {
    TitleList titles;
    return Parse(page, titles);
}

TEST(PageParser, WorkedExample) {
    const std::vector<std::string> page = {"<html>",
                                           Cell("ignored before the first title"),
                                           Title("Italy - Serie A"),
                                           Cell("FT"),
                                           Cell("Juventus"),
                                           Cell("2 - 1"),
                                           Cell("Inter Milan"),
                                           Cell("20:45"),
                                           Cell("Lazio"),
                                           Cell("? - ?"),
                                           Cell("AS Roma")};
    EXPECT_EQ(Parse(page), "\r\n<Italy - Serie A> \r\nFT Juventus <2 - 1> Inter \r\nLazio <? - ?> Roma ");
}

TEST(PageParser, StatusCellsOpenMatchLines) {
    const std::vector<std::string> page = {Title("Italy - Serie A"),
                                           Cell("Postp."),
                                           Cell("A"),
                                           Cell("Pen"),
                                           Cell("B"),
                                           Cell("19:30"),
                                           Cell("C"),
                                           Cell("67'"),
                                           Cell("D"),
                                           Cell("May 5"),
                                           Cell("Marcianise")};
    EXPECT_EQ(Parse(page), "\r\n<Italy - Serie A> \r\nPostp. A \r\nPen B \r\nC \r\n67' D Marcianise ");
}

TEST(PageParser, StopMarkerEndsTheParse) {
    const std::vector<std::string> page = {Title("Italy - Serie A"), Cell("FT"), "<a href=x>t=new</a>", Cell("HT"),
                                           Title("Spain - La Liga")};
    TitleList titles;
    EXPECT_EQ(Parse(page, titles), "\r\n<Italy - Serie A> \r\nFT ");
    EXPECT_EQ(titles.size(), 2u);  // titles come from the whole page
}

TEST(PageParser, DateLineAtTheEndEndsNormally) {
    EXPECT_EQ(Parse({Title("A - B"), Cell("December 24")}), "\r\n<A - B> ");
}

TEST(PageParser, LineWithoutTagsBecomesSpacesAndStays) {
    EXPECT_EQ(Parse({Title("A - B"), "abc"}), "\r\n<A - B>     ");
}

TEST(PageParser, TitleWithApostropheOpensNoLineButIsWrapped) {
    TitleList titles;
    const std::string text =
        Parse({Title("Italy - Serie A"), Cell("FT"), Title("Cote d'Ivoire - Ligue 1"), Cell("HT")}, titles);
    EXPECT_TRUE(titles.Contains("Cote d\xB4Ivoire - Ligue 1"));
    EXPECT_EQ(text, "\r\n<Italy - Serie A> \r\nFT <Cote d'Ivoire - Ligue 1> \r\nHT ");
}

TEST(PageParser, TitlesStayForTheRunAndEachOpensALine) {
    TitleList titles;
    titles.Add("Spain - La Liga");  // seen on an earlier page
    EXPECT_EQ(Parse({Title("Italy - Serie A"), Cell("Spain - La Liga Spain - La Liga"), Cell("x")}, titles),
              "\r\n<Italy - Serie A> \r\n<Spain - La Liga Spain - La Liga> x ");
    // A line holding two different titles opens two lines.
    titles.Add("Europe - Cup");
    EXPECT_EQ(Parse({Title("Italy - Serie A"), Cell("Europe - Cup / Spain - La Liga")}, titles),
              "\r\n<Italy - Serie A> \r\n\r\n<Europe - Cup / Spain - La Liga> ");
    EXPECT_EQ(titles.size(), 3u);
}

TEST(PageParser, EmptyTitleIsNeverAdded) {
    TitleList titles;
    // Tags only, and the blanked tail of spaces: both leave no title text.
    const std::string text = Parse({Title(""), "<td class=title></td>  ", Cell("Juventus"), Cell("Lazio")}, titles);
    EXPECT_EQ(titles.size(), 0u);
    EXPECT_EQ(text, "   Juventus Lazio ");
}

TEST(PageParser, TagWithoutEndFailsTheParse) {
    TitleList titles;
    EXPECT_THROW(Parse({Title("A - B"), "<x>>a<<x>"}, titles), ParseError);
    EXPECT_THROW(Parse({"<td class=title><x>>a<<x>"}, titles), ParseError);
}

TEST(PageParser, CrLfOrLoneCrEndsALineALoneLfDoesNot) {
    const std::string lines = "<td class=title>A - B</td>\r<td>x\ny</td>\r\n<td>FT</td>\r\r\n<td>z</td>";
    TitleList titles;
    CercaTitoli("<p>\r\n" + lines + "\r\n", titles);
    EXPECT_EQ(ResultText("<p>\r\n" + lines + "\r\n", titles), "\r\n<A - B> xy \r\nFT z ");
    // The first line counts from its start, whatever ends the line before it.
    EXPECT_EQ(ResultText("<p>\r" + lines, titles), ResultText("<p>\n\r\n" + lines, titles));
    EXPECT_EQ(ResultText("", titles), "");
}

}  // namespace
}  // namespace caltrix
